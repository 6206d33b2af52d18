#pragma once

// A text view the user types into. On top of the text view it has an
// insertion point (the selected range), scroll-indicator insets, and a
// change handler that runs after each edit by the user, never after code
// sets the text. It can scroll so that a range of its text is in sight,
// which an editor does after every change to keep the insertion point above
// the keyboard.
//
// Ranges count bytes of the UTF-8 text. A range is kept inside the text
// and on character boundaries, also after code replaces the text.

#include "platform/ui/text_view.h"

#include <cstddef>
#include <functional>

namespace cw {

struct TextRange {
    std::size_t location { 0 };
    std::size_t length { 0 };
    bool operator==(TextRange const&) const = default;
};

class EditableTextView : public TextView {
public:
    explicit EditableTextView(std::shared_ptr<TextLayout const> layout, Rect frame = {});

    TextRange selected_range() const;
    void select(TextRange);

    EdgeInsets scroll_indicator_insets;

    // Runs after each edit by the user.
    std::function<void(EditableTextView&)> on_change;

    // The user's typing: `text` replaces the selection and the insertion
    // point follows it. Does nothing unless the view is editable, shown and
    // interactive.
    void user_insert(std::string const& text);
    // Backspace: removes the selection, or the character before the
    // insertion point.
    void user_delete_backward();
    // Select everything and type `text`.
    void user_replace_all(std::string text);

    // Scrolls as little as possible so that the lines of `range` lie between
    // the top of the view and the bottom inset (the part a keyboard covers).
    void scroll_range_to_visible(TextRange);

    char const* type_name() const override { return "EditableTextView"; }
    void describe(Record&) const override;

private:
    bool accepts_user_input() const;
    double height_up_to(std::size_t end) const;
    void user_changed();

    std::shared_ptr<TextLayout const> m_layout;
    TextRange m_selection;
};

}
