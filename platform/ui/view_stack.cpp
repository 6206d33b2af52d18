#include "view_stack.h"

#include "view.h"

#include <memory>
#include <vector>

namespace cw {

void send_subview_to_back(View& child)
{
    View* parent = child.superview();
    if (!parent || parent->subviews().front().get() == &child)
        return;
    // The view owns its children in drawing order and only appends, so
    // take the siblings out and put them back behind the moved view.
    auto moved = child.remove_from_superview();
    std::vector<std::unique_ptr<View>> siblings;
    while (!parent->subviews().empty())
        siblings.push_back(parent->subviews().front()->remove_from_superview());
    parent->add_subview(std::move(moved));
    for (auto& sibling : siblings)
        parent->add_subview(std::move(sibling));
}

void bring_subview_to_front(View& child)
{
    View* parent = child.superview();
    if (!parent || parent->subviews().back().get() == &child)
        return;
    parent->add_subview(child.remove_from_superview());
}

}
