// Generic user input: taps, touches, typing, control values, keys, display
// refreshes and window sizes. The browser front end sends exactly these; a
// test can send them to `cuewright-sim` just the same.

#include "driver.h"

#include "platform/ui/controls.h"
#include "platform/ui/editable_text_view.h"
#include "platform/ui/navigation_controller.h"
#include "platform/ui/segmented_control.h"
#include "platform/ui/slider.h"
#include "platform/ui/stepper.h"
#include "platform/ui/switch.h"
#include "platform/ui/text_field.h"
#include "platform/ui/text_view.h"
#include "prompter/scriptViewController.h"

#include <cmath>

namespace cw {

using Json = nlohmann::json;

// Deeper paths than this are not views anyone drew.
static constexpr size_t max_path_length = 256;

static std::vector<size_t> path_field(Json const& request)
{
    auto it = request.find("path");
    if (it == request.end() || !it->is_array() || it->size() > max_path_length)
        throw DriverError("path must be a list of subview indices");
    auto const& field = *it;
    std::vector<size_t> path;
    for (auto const& index : field) {
        if (!index.is_number_integer() || index.get<std::int64_t>() < 0)
            throw DriverError("path must be a list of subview indices");
        path.push_back(static_cast<size_t>(index.get<std::int64_t>()));
    }
    return path;
}

static Screen& top_screen(SimDevice& device)
{
    auto* top = device.top();
    if (!top)
        throw DriverError("no screen is shown");
    if (dynamic_cast<AlertController*>(top))
        throw DriverError("an alert is in the way");
    return *top;
}

// The view a request names on the top screen: by "path" (subview indices
// from the screen's view), by "name" (outlet name), or both, when the name
// guards against a screen that changed since the path was taken.
static View& target_view(SimDevice& device, Json const& request)
{
    auto& screen = top_screen(device);
    View* view = nullptr;
    if (request.contains("path")) {
        view = view_at_path(screen.view(), path_field(request));
        if (!view)
            throw DriverError("no view at that path on the top screen");
        if (request.contains("name") && view->name != required_string(request, "name"))
            throw DriverError("the view at that path is not \"" + required_string(request, "name") + "\"");
    } else {
        auto name = required_string(request, "name");
        view = screen.view().find(name);
        if (!view)
            throw DriverError("no view \"" + name + "\" on the top screen");
    }
    return *view;
}

static std::vector<size_t> path_of(View const& view)
{
    std::vector<size_t> path;
    for (View const* v = &view; v->superview(); v = v->superview()) {
        auto const& siblings = v->superview()->subviews();
        for (size_t i = 0; i < siblings.size(); ++i) {
            if (siblings[i].get() == v)
                path.insert(path.begin(), i);
        }
    }
    return path;
}

static Point point_field(Json const& request, Point fallback)
{
    return { optional_number(request, "x", fallback.x), optional_number(request, "y", fallback.y) };
}

static Json tick(Driver& driver, Json const& request)
{
    auto frames = optional_number(request, "frames", 1);
    if (frames < 0 || frames > 100000)
        throw DriverError("frames must be between 0 and 100000");
    for (int i = 0; i < static_cast<int>(frames); ++i) {
        driver.loop().tick_display();
        driver.settle_all();
    }
    return { { "frames", driver.loop().frames_fired() } };
}

static Json resize(Driver& driver, Json const& request)
{
    auto& window = driver.device(request).context().window;
    double width = optional_number(request, "width", window.size().width);
    double height = optional_number(request, "height", window.size().height);
    if (!(width >= 1 && width <= 100000 && height >= 1 && height <= 100000))
        throw DriverError("the window size must be between 1 and 100000 points");
    window.set_size({ width, height });
    driver.device(request).settle();
    return {};
}

static Json tap_view(Driver& driver, Json const& request)
{
    auto& device = driver.device(request);
    auto& view = target_view(device, request);
    auto frame = view.frame;
    auto centre = view.convert_to_root({ frame.size.width / 2, frame.size.height / 2 });
    auto where = point_field(request, centre);
    if (!device.touches().down(path_of(view), where))
        throw DriverError("the view cannot be touched");
    device.touches().up(where);
    device.settle();
    return {};
}

static Json touch(Driver& driver, Json const& request)
{
    auto& device = driver.device(request);
    auto phase = required_string(request, "phase");
    auto& touches = device.touches();
    if (phase == "down") {
        top_screen(device);
        auto where = point_field(request, {});
        if (!touches.down(path_field(request), where))
            throw DriverError("no view at that path on the top screen");
    } else if (phase == "move") {
        touches.move(point_field(request, {}));
    } else if (phase == "up") {
        touches.up(point_field(request, {}));
    } else if (phase == "cancel") {
        touches.cancel();
    } else {
        throw DriverError("phase must be \"down\", \"move\", \"up\" or \"cancel\"");
    }
    device.settle();
    return { { "active", touches.active() } };
}

static Json set_text(Driver& driver, Json const& request)
{
    auto& device = driver.device(request);
    auto text = required_string(request, "text");
    if (request.contains("alert_field")) {
        auto index = optional_number(request, "alert_field", -1);
        if (index < 0 || !device.type_into_alert(static_cast<size_t>(index), text))
            throw DriverError("no such text field in a presented alert");
        return {};
    }
    auto& view = target_view(device, request);
    if (auto* field = dynamic_cast<TextField*>(&view)) {
        field->user_set_text(std::move(text));
    } else if (auto* editable = dynamic_cast<EditableTextView*>(&view)) {
        editable->user_replace_all(std::move(text));
    } else if (auto* text_view = dynamic_cast<TextView*>(&view); text_view && text_view->editable && !text_view->hidden) {
        text_view->set_text(std::move(text));
    } else {
        throw DriverError("\"" + view.name + "\" does not take typing");
    }
    device.settle();
    return {};
}

static Json set_value(Driver& driver, Json const& request)
{
    auto& device = driver.device(request);
    auto& view = target_view(device, request);
    auto value = optional_number(request, "value", NAN);
    if (!std::isfinite(value))
        throw DriverError("value must be a number");
    if (auto* slider = dynamic_cast<Slider*>(&view)) {
        slider->user_set_value(static_cast<float>(value));
    } else if (auto* toggle = dynamic_cast<Switch*>(&view)) {
        toggle->user_set_on(value != 0);
    } else if (auto* stepper = dynamic_cast<Stepper*>(&view)) {
        stepper->user_set_value(value);
    } else if (auto* segments = dynamic_cast<SegmentedControl*>(&view)) {
        if (value != std::floor(value) || !segments->user_select_segment(static_cast<int>(value)))
            throw DriverError("\"" + view.name + "\" has no segment " + std::to_string(value));
    } else {
        throw DriverError("\"" + view.name + "\" does not take a value");
    }
    device.settle();
    return {};
}

// A scroll wheel or a trackpad: the nearest view that scrolls moves its
// content by (dx, dy) window points, within its range.
static Json scroll(Driver& driver, Json const& request)
{
    auto& device = driver.device(request);
    View* view = &target_view(device, request);
    while (view && !is_scrollable(*view))
        view = view->superview();
    if (!view)
        throw DriverError("nothing there scrolls");
    auto by = window_vector_to_view(*view, { optional_number(request, "dx", 0), optional_number(request, "dy", 0) });
    auto offset = scroll_offset(*view);
    if (!std::isfinite(by.x) || !std::isfinite(by.y))
        throw DriverError("dx and dy must be numbers");
    user_scroll(*view, { offset.x + by.x, offset.y + by.y });
    device.settle();
    return {};
}

static Json cancel_alert(Driver& driver, Json const& request)
{
    auto& device = driver.device(request);
    auto* alert = device.alert();
    if (!alert)
        throw DriverError("no alert is presented");
    bool cancelled = alert->cancel();
    device.settle();
    return { { "cancelled", cancelled } };
}

static Json navigate_back(Driver& driver, Json const& request)
{
    auto& device = driver.device(request);
    auto& screen = top_screen(device);
    auto* navigation = screen.navigation_controller();
    if (!navigation || navigation->stack().size() < 2 || navigation->top() != &screen)
        throw DriverError("there is no screen to go back to");
    navigation->pop(true);
    device.settle();
    return {};
}

// Keys a presenter reaches for: Esc picks an alert's cancel action or
// swipes a sheet away; on a
// screen with run controls the space bar starts or stops, and the up and
// down arrows move the speed slider by 5, as a hand on the slider would;
// on the prompter Home goes back to the start, as the remotes do.
static bool press_key(SimDevice& device, std::string const& key)
{
    auto* top = device.top();
    if (!top)
        return false;
    if (auto* alert = dynamic_cast<AlertController*>(top))
        return key == "Escape" && alert->cancel();
    if (key == "Escape")
        return device.swipe_away_sheet();
    auto& view = top->view();
    if (key == " " || key == "Space") {
        for (auto const* name : { "stopButton", "startButton" }) {
            auto* button = view.find_as<Button>(name);
            if (button && !button->hidden && button->enabled) {
                button->tap();
                return true;
            }
        }
        return false;
    }
    if (key == "Home") {
        auto* prompter = dynamic_cast<scriptViewController*>(top);
        if (prompter)
            prompter->backToStart();
        return prompter != nullptr;
    }
    if (key == "ArrowUp" || key == "ArrowDown") {
        auto* slider = view.find_as<Slider>("SpeedSlider");
        if (!slider)
            return false;
        slider->user_set_value(slider->value() + (key == "ArrowUp" ? 5.0f : -5.0f));
        return true;
    }
    return false;
}

static Json key(Driver& driver, Json const& request)
{
    auto& device = driver.device(request);
    bool handled = press_key(device, required_string(request, "key"));
    device.settle();
    return { { "handled", handled } };
}

void register_input_commands(Driver& driver)
{
    driver.add_command("tick", tick);
    driver.add_command("resize", resize);
    driver.add_command("tap_view", tap_view);
    driver.add_command("touch", touch);
    driver.add_command("set_text", set_text);
    driver.add_command("set_value", set_value);
    driver.add_command("scroll", scroll);
    driver.add_command("cancel_alert", cancel_alert);
    driver.add_command("navigate_back", navigate_back);
    driver.add_command("key", key);
}

}
