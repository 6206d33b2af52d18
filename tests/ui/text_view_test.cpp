// The text view's content size comes from the text-layout service and is
// measured again only when something it depends on changed.

#include "platform/ui/text_view.h"

#include <gtest/gtest.h>

namespace cw {
namespace {

class CountingLayout final : public TextLayout {
public:
    Size measure(std::string_view text, double font_size, double width) const override
    {
        ++calls;
        last_width = width;
        return HeadlessTextLayout().measure(text, font_size, width);
    }
    mutable int calls { 0 };
    mutable double last_width { 0 };
};

TEST(TextView, ContentSizeIsTheLaidOutTextAtTheFrameWidth)
{
    auto layout = std::make_shared<CountingLayout>();
    TextView view(layout, { { 0, 0 }, { 100, 300 } });
    view.set_font_size(10);
    view.set_text("aaaa bbbb cccc dddd eeee");
    EXPECT_EQ(view.content_size(), (Size { 100, 2 * 12 })) << "20 glyphs a line";

    view.content_inset = { 4, 25, 6, 25 };
    EXPECT_EQ(view.content_size(), (Size { 100, 3 * 12 + 10 })) << "10 glyphs a line, plus the insets";
    EXPECT_EQ(layout->last_width, 50);
}

TEST(TextView, MeasuresAgainOnlyWhenTheLayoutChanges)
{
    auto layout = std::make_shared<CountingLayout>();
    TextView view(layout, { { 0, 0 }, { 100, 300 } });
    view.set_text("Some text");
    struct Step {
        char const* what;
        std::function<void()> change;
        bool measures;
    };
    Step const steps[] = {
        { "first read", [] { }, true },
        { "nothing changed", [] { }, false },
        { "offset and colours", [&] { view.set_content_offset({ 0, 40 }); view.text_color = Color::red_color(); view.alpha = 0.5; }, false },
        { "the same text again", [&] { view.set_text("Some text"); }, true },
        { "font size", [&] { view.set_font_size(30); }, true },
        { "height only", [&] { view.frame.size.height = 10; }, false },
        { "width", [&] { view.frame.size.width = 60; }, true },
        { "insets", [&] { view.content_inset.left = 3; }, true },
    };
    for (auto const& step : steps) {
        SCOPED_TRACE(step.what);
        int before = layout->calls;
        step.change();
        view.content_size();
        EXPECT_EQ(layout->calls - before, step.measures ? 1 : 0);
    }
}

TEST(TextView, WithoutALayoutServiceTheTextMeasuresAsNothing)
{
    TextView view(nullptr, { { 0, 0 }, { 100, 300 } });
    view.set_text("Anything");
    EXPECT_EQ(view.content_size(), (Size { 100, 0 }));
}

TEST(TextView, DescribesWhatFrontEndsDraw)
{
    TextView view(std::make_shared<HeadlessTextLayout>(), { { 0, 0 }, { 100, 300 } });
    view.set_text("Hi");
    view.set_font_size(20);
    view.text_color = Color::white();
    view.editable = false;
    view.set_content_offset({ 0, 12.5 }, true);
    view.transform = AffineTransform::scale(1, -1);
    auto snapshot = view.snapshot();
    auto const& record = snapshot.as_record();
    EXPECT_EQ(record.at("type"), Value("TextView"));
    EXPECT_EQ(record.at("text"), Value("Hi"));
    EXPECT_EQ(record.at("fontSize"), Value(20.0));
    EXPECT_EQ(record.at("textColor"), to_value(Color::white()));
    EXPECT_EQ(record.at("editable"), Value(false));
    EXPECT_EQ(record.at("contentOffset"), to_value(Point { 0, 12.5 }));
    EXPECT_EQ(record.at("offsetAnimated"), Value(true));
    EXPECT_EQ(record.at("contentSize"), to_value(Size { 100, 24 }));
    EXPECT_EQ(record.at("transform"), to_value(AffineTransform::scale(1, -1)));
}

}
}
