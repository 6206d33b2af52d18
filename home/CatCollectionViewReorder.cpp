#include "CatCollectionViewReorder.h"

#include "platform/ui/collection_view.h"
#include "platform/ui/gesture_recognizer.h"

namespace cw {

CatCollectionViewReorder::CatCollectionViewReorder()
    : m_unbound_gesture(std::make_unique<GestureRecognizer>(GestureRecognizer::Type::LongPress))
    , _moveGesture(m_unbound_gesture.get())
{
    _moveGesture->on_action = [this](GestureRecognizer& recognizer) { moveGestureAction(recognizer); };
}

CatCollectionViewReorder::~CatCollectionViewReorder() = default;

static void follow_press(CollectionView& grid, GestureRecognizer& recognizer)
{
    auto where = recognizer.view ? grid.content_point(*recognizer.view, recognizer.location) : recognizer.location;
    switch (recognizer.state) {
    case GestureState::Began:
        grid.begin_interactive_movement_for_item_at_index_path(grid.index_path_for_item_at_point(where));
        grid.update_interactive_movement_target_position({ where.x + CatCollectionViewReorder::lift_offset.x, where.y + CatCollectionViewReorder::lift_offset.y });
        break;
    case GestureState::Changed:
        grid.update_interactive_movement_target_position(where);
        break;
    case GestureState::Ended:
        grid.end_interactive_movement();
        break;
    default:
        grid.cancel_interactive_movement();
        break;
    }
}

void CatCollectionViewReorder::bindToCollectionView(CollectionView& grid)
{
    if (m_unbound_gesture)
        grid.add_gesture_recognizer(std::move(m_unbound_gesture));
    _moveGestureStateChangeBlocks = [&grid](GestureRecognizer& recognizer) { follow_press(grid, recognizer); };
}

void CatCollectionViewReorder::moveGestureAction(GestureRecognizer& recognizer)
{
    if (_moveGestureStateChangeBlocks)
        _moveGestureStateChangeBlocks(recognizer);
}

}
