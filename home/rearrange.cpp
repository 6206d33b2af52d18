// Rearrange mode: the tiles wobble, take no touches and show no option
// sheets; a long press anywhere on the grid lifts the tile under the finger
// (CatCollectionViewReorder), and a drop stores the new order. The mode is
// the screen's alone: it is not stored, and every grid build puts the new
// tiles into it again while it is on.

#include "ViewController.h"

#include "platform/ui/app_context.h"

namespace cw {

void ViewController::put_in_rearrange_mode(CustomCollectionViewCell& tile)
{
    tile.setIsInRearrangeMode(true);
    tile.applyWobbleAnimationToBorder();
    if (tile.cellLongPressGestureRecognizer)
        tile.cellLongPressGestureRecognizer->enabled = false;
}

static void set_controls_enabled(std::initializer_list<Button*> buttons, bool enabled)
{
    for (auto* button : buttons)
        button->enabled = enabled;
}

void ViewController::enterRearrangeMode()
{
    configureCollectionView();
    isInRearrangeMode = true;
    stopRearrangingBtn->hidden = false;
    _collectionView->background = colorFromHexString(home::rearrange_background);
    set_controls_enabled({ cameraBtn, remoteBtn, addScriptButton }, false);
    for (auto* cell : _collectionView->visible_cells()) {
        auto& tile = static_cast<CustomCollectionViewCell&>(*cell);
        tile.setIsInRearrangeMode(true);
        tile.applyWobbleAnimationToBorder();
        if (tile.cellLongPressGestureRecognizer)
            tile.cellLongPressGestureRecognizer->enabled = false;
    }
}

void ViewController::exitRearrangeMode(Button*)
{
    isInRearrangeMode = false;
    stopRearrangingBtn->hidden = true;
    set_controls_enabled({ cameraBtn, remoteBtn, addScriptButton }, true);
    for (auto* cell : _collectionView->visible_cells()) {
        auto& tile = static_cast<CustomCollectionViewCell&>(*cell);
        if (tile.cellLongPressGestureRecognizer)
            tile.cellLongPressGestureRecognizer->enabled = true;
        tile.setIsInRearrangeMode(false);
        tile.resetWobbleAnimation();
    }
    configureCollectionView();
    _collectionView->background = home::grid_background;
}

// Only while the mode is on: outside it there is nothing to put the tiles
// back into (a reorder made without the mode, e.g. by automation, leaves
// the tiles still).
void ViewController::reapplyAnimationsToVisibleCells()
{
    if (!isInRearrangeMode || !_collectionView)
        return;
    for (auto* cell : _collectionView->visible_cells())
        put_in_rearrange_mode(static_cast<CustomCollectionViewCell&>(*cell));
    if (_collectionDataSource.empty())
        return;
    auto last = static_cast<std::int64_t>(_collectionDataSource.size()) - 1;
    if (auto* tile = tile_at({ 0, last }))
        put_in_rearrange_mode(*tile);
}

// "#" and six hexadecimal digits, two each for red, green and blue. Reading
// stops at the first character that is not a hexadecimal digit; no digits
// at all read as black.
Color ViewController::colorFromHexString(std::string_view text)
{
    if (!text.empty() && text.front() == '#')
        text.remove_prefix(1);
    std::uint32_t value = 0;
    for (size_t i = 0; i < text.size() && i < 8; ++i) {
        char c = text[i];
        int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
        if (digit < 0)
            break;
        value = value << 4 | static_cast<std::uint32_t>(digit);
    }
    return { ((value >> 16) & 255) / 255.0, ((value >> 8) & 255) / 255.0, (value & 255) / 255.0, 1 };
}

bool ViewController::collectionViewCanMoveItemAtIndexPath(CollectionView&, IndexPath)
{
    return true;
}

void ViewController::collectionViewMoveItemAtIndexPathToIndexPath(CollectionView&, IndexPath from, IndexPath to)
{
    collectionViewMoveItemAtIndexPathToIndexPath(from.item, to.item);
}

}
