#pragma once

// A view whose content can be larger than its frame. The content offset is
// the point of the content shown at the frame's top left corner; a user's
// scroll moves it between (0, 0) and the content size less the frame size,
// and tells the delegate.

#include "platform/ui/view.h"

namespace cw {

class ScrollView;

class ScrollViewDelegate {
public:
    virtual ~ScrollViewDelegate() = default;
    virtual void scrollViewDidScroll(ScrollView&) { }
};

class ScrollView : public View {
public:
    using View::View;

    Size content_size;
    bool scroll_enabled { true };
    ScrollViewDelegate* delegate { nullptr };

    Point content_offset() const { return m_content_offset; }
    // Code may put the offset anywhere; the delegate is not told.
    void set_content_offset(Point offset) { m_content_offset = offset; }

    // The largest offset a user can scroll to: never below (0, 0).
    Point maximum_content_offset() const;
    // A user's scroll: clamped to the scrollable range, then the delegate
    // hears of it. Does nothing while scrolling is off or hidden.
    void user_scroll_to(Point);

    char const* type_name() const override { return "ScrollView"; }
    void describe(Record&) const override;

private:
    Point m_content_offset;
};

}
