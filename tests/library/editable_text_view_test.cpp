// The editable text view the editor types into: edits at the insertion
// point, character boundaries in UTF-8, and who hears about changes.

#include "platform/services/text_layout.h"
#include "platform/ui/editable_text_view.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace cw;

namespace {

std::unique_ptr<EditableTextView> make_view(std::string text, TextRange selection)
{
    auto view = std::make_unique<EditableTextView>(std::make_shared<HeadlessTextLayout>(), Rect { { 0, 0 }, { 200, 100 } });
    view->set_text(std::move(text));
    view->select(selection);
    return view;
}

}

TEST(EditableTextView, UserEditsAtTheInsertionPoint)
{
    // "é" is two bytes, "👋" four.
    struct Case {
        char const* label;
        std::string text;
        TextRange selection;
        std::function<void(EditableTextView&)> edit;
        std::string result;
        TextRange after;
    } cases[] = {
        { "insert in the middle", "Hello", { 2, 0 }, [](auto& v) { v.user_insert("XY"); }, "HeXYllo", { 4, 0 } },
        { "insert over a selection", "Hello", { 1, 3 }, [](auto& v) { v.user_insert("a"); }, "Hao", { 2, 0 } },
        { "selection past the end is clamped", "Hi", { 9, 4 }, [](auto& v) { v.user_insert("!"); }, "Hi!", { 3, 0 } },
        { "inside a character moves to its start", "é!", { 1, 0 }, [](auto& v) { v.user_insert("a"); }, "aé!", { 1, 0 } },
        { "backspace removes a whole character", "a👋", { 5, 0 }, [](auto& v) { v.user_delete_backward(); }, "a", { 1, 0 } },
        { "backspace removes the selection", "abcd", { 1, 2 }, [](auto& v) { v.user_delete_backward(); }, "ad", { 1, 0 } },
        { "backspace at the start does nothing", "ab", { 0, 0 }, [](auto& v) { v.user_delete_backward(); }, "ab", { 0, 0 } },
        { "replace all puts the insertion point at the end", "old", { 0, 0 }, [](auto& v) { v.user_replace_all("new text"); }, "new text", { 8, 0 } },
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.label);
        auto owned = make_view(c.text, c.selection);
        auto& view = *owned;
        int changes = 0;
        view.on_change = [&](EditableTextView&) { ++changes; };
        c.edit(view);
        EXPECT_EQ(view.text(), c.result);
        EXPECT_EQ(view.selected_range(), c.after);
        EXPECT_EQ(changes, c.result != c.text ? 1 : 0);
    }
}

TEST(EditableTextView, OnlyTheUserFiresTheChangeHandler)
{
    auto owned = make_view("abc", { 3, 0 });
    auto& view = *owned;
    int changes = 0;
    view.on_change = [&](EditableTextView&) { ++changes; };
    view.set_text("a");
    EXPECT_EQ(view.selected_range(), (TextRange { 1, 0 }));
    view.editable = false;
    view.user_insert("x");
    view.editable = true;
    view.hidden = true;
    view.user_insert("x");
    EXPECT_EQ(view.text(), "a");
    EXPECT_EQ(changes, 0);
}
