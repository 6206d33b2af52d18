#pragma once

// The drag that rearranges the grid. It owns one long-press recogniser,
// attached to the grid it is bound to, and turns the press into the grid's
// interactive movement: the press lifts the tile under the finger (with its
// first target a little below and to the right of the finger), moving the
// finger moves it, lifting the finger drops it, and anything else puts it
// back.
//
// The recogniser sits on the grid in and out of rearrange mode. Outside the
// mode a press on a tile is taken by the tile's own recogniser (its option
// sheet) and never gets here; a press between tiles does, and lifts
// nothing.

#include "platform/ui/geometry.h"

#include <functional>
#include <memory>

namespace cw {

class CollectionView;
class GestureRecognizer;

class CatCollectionViewReorder {
public:
    // `init`: makes the recogniser, which nothing holds until it is bound.
    CatCollectionViewReorder();
    ~CatCollectionViewReorder();
    CatCollectionViewReorder(CatCollectionViewReorder const&) = delete;
    CatCollectionViewReorder& operator=(CatCollectionViewReorder const&) = delete;

    // Attaches the recogniser to the grid, which keeps it from then on.
    void bindToCollectionView(CollectionView&);
    void moveGestureAction(GestureRecognizer&);

    GestureRecognizer* moveGesture() const { return _moveGesture; }
    bool is_bound() const { return static_cast<bool>(_moveGestureStateChangeBlocks); }

    static constexpr Point lift_offset { 5, 5 };

private:
    std::unique_ptr<GestureRecognizer> m_unbound_gesture;
    GestureRecognizer* _moveGesture { nullptr };
    std::function<void(GestureRecognizer&)> _moveGestureStateChangeBlocks;
};

}
