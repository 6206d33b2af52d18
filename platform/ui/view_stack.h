#pragma once

// Reordering a view among its siblings. The last subview is drawn on top;
// sending a view to the back puts it under all of its siblings.

namespace cw {

class View;

// Both do nothing for a view without a superview. Views keep their
// identity: references to them stay valid.
void send_subview_to_back(View&);
void bring_subview_to_front(View&);

}
