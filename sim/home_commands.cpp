// Driver commands for the home screen's grid: reading the tiles, and
// touching them the way a finger does (a tap, a long press held for a
// while, a drag with the finger moving in steps), in virtual time. Touches
// land on whatever view is frontmost under the point, as in the browser, so
// a tile under the toolbar is not reachable until the grid is scrolled.

#include "driver.h"

#include "home/ViewController.h"
#include "library/library_records.h"

#include <cmath>
#include <limits>

namespace cw {

using Json = nlohmann::json;

static ViewController& home_screen(SimDevice& device)
{
    auto* home = dynamic_cast<ViewController*>(device.app().home());
    if (!home || !home->is_view_loaded() || !home->_collectionView)
        throw DriverError("the home screen is not loaded");
    return *home;
}

// Touches go to the top screen, so the home screen must be it.
static ViewController& home_on_top(SimDevice& device)
{
    auto& home = home_screen(device);
    if (device.top() != &home)
        throw DriverError("the home screen is not on top");
    return home;
}

static Json plain(Value const& value)
{
    return plain_json(value);
}

static Json wobble_json(View const& tile)
{
    auto const* wobble = tile.animation(tile::wobble_key);
    if (!wobble)
        return nullptr;
    return { { "keyPath", wobble->key_path }, { "from", wobble->from }, { "to", wobble->to },
        { "duration", wobble->duration }, { "autoreverses", wobble->autoreverses },
        { "forever", std::isinf(wobble->repeat_count) }, { "timing", wobble->timing }, { "beginTime", wobble->begin_time } };
}

static char const* kind_of(Value const& record)
{
    return is_folder_record(record) ? "folder" : is_script_record(record) ? "script" : "other";
}

static Json tile_json(ViewController& home, CollectionViewCell& cell)
{
    auto& tile = static_cast<CustomCollectionViewCell&>(cell);
    auto position = home._collectionView->index_path_for_cell(cell)->item;
    auto const& items = home.shown_items();
    auto* press = tile.cellLongPressGestureRecognizer;
    Json json = {
        { "position", position },
        { "text", tile.textLabel->text },
        { "kind", static_cast<size_t>(position) < items.size() ? kind_of(items[static_cast<size_t>(position)]) : "none" },
        { "frame", plain(to_value(Rect { tile.convert_to_root({}), tile.frame.size })) },
        { "background", tile.background ? plain(to_value(*tile.background)) : Json(nullptr) },
        { "borderColor", plain(to_value(tile.border_color)) },
        { "borderWidth", tile.border_width },
        { "cornerRadius", tile.corner_radius },
        { "textColor", plain(to_value(tile.textLabel->text_color)) },
        { "isInRearrangeMode", tile.isInRearrangeMode },
        { "takesTouches", tile.user_interaction_enabled },
        { "longPressEnabled", press ? Json(press->enabled) : Json(nullptr) },
        { "wobble", wobble_json(tile) },
    };
    if (tile.is_lifted())
        json["lifted"] = true;
    return json;
}

static Json button_json(Button const& button)
{
    return { { "hidden", button.hidden }, { "enabled", button.enabled } };
}

static Json grid_state(ViewController& home)
{
    auto& grid = *home._collectionView;
    Json tiles = Json::array();
    for (auto* cell : grid.visible_cells())
        tiles.push_back(tile_json(home, *cell));
    auto inset = grid.content_inset();
    auto indicator = grid.scroll_indicator_insets;
    return {
        { "rearranging", home.isInRearrangeMode },
        { "folder", home.selectedFolderName ? Json(*home.selectedFolderName) : Json(nullptr) },
        { "goBackHidden", home.goBackButton->hidden },
        { "background", grid.background ? plain(to_value(*grid.background)) : Json(nullptr) },
        { "itemCount", grid.number_of_items() },
        { "contentOffset", plain(to_value(grid.content_offset())) },
        { "contentSize", plain(to_value(grid.content_size())) },
        { "maximumContentOffset", plain(to_value(grid.maximum_content_offset())) },
        { "contentInset", { inset.top, inset.left, inset.bottom, inset.right } },
        { "scrollIndicatorInsets", { indicator.top, indicator.left, indicator.bottom, indicator.right } },
        { "toolbar", { { "frame", plain(to_value(home.toolbar->frame)) }, { "barTintColor", plain(to_value(*home.toolbar->bar_tint_color)) } } },
        { "buttons", { { "addScriptButton", button_json(*home.addScriptButton) }, { "cameraBtn", button_json(*home.cameraBtn) },
                         { "remoteBtn", button_json(*home.remoteBtn) }, { "stopRearrangingBtn", button_json(*home.stopRearrangingBtn) } } },
        { "tiles", tiles },
    };
}

// The frontmost shown view under a window point, as a path of subview
// indices from `root`; none when the point is outside it.
static bool hit_path(View& view, Point point, std::vector<size_t>& path)
{
    if (view.hidden || !view.frame.contains(point))
        return false;
    Point inside { point.x - view.frame.origin.x, point.y - view.frame.origin.y };
    auto const& children = view.subviews();
    for (size_t i = children.size(); i-- > 0;) {
        path.push_back(i);
        if (hit_path(*children[i], inside, path))
            return true;
        path.pop_back();
    }
    return true;
}

static void finger_down(SimDevice& device, ViewController& home, Point where)
{
    std::vector<size_t> path;
    auto& root = home.view();
    // The screen's view is at the window's origin; its own frame says so.
    if (!hit_path(root, where, path) || !device.touches().down(path, where))
        throw DriverError("nothing on the home screen is under that point");
}

static std::int64_t position_field(Json const& request, char const* field)
{
    auto it = request.find(field);
    if (it == request.end() || !it->is_number_integer())
        throw DriverError(std::string("missing whole-number field \"") + field + "\"");
    return it->get<std::int64_t>();
}

static Point tile_centre(ViewController& home, std::int64_t position)
{
    auto* cell = home._collectionView->cell_for_item_at_index_path({ 0, position });
    if (!cell)
        throw DriverError("tile " + std::to_string(position) + " is not on screen");
    return cell->convert_to_root({ cell->frame.size.width / 2, cell->frame.size.height / 2 });
}

static Point point_field(Json const& request, char const* field)
{
    auto it = request.find(field);
    if (it == request.end() || !it->is_object() || !(*it)["x"].is_number() || !(*it)["y"].is_number())
        throw DriverError(std::string("field \"") + field + "\" must be {\"x\": ..., \"y\": ...}");
    return { (*it)["x"].get<double>(), (*it)["y"].get<double>() };
}

static double seconds_field(Json const& request, char const* field, double fallback)
{
    double seconds = optional_number(request, field, fallback);
    if (!(seconds >= 0 && seconds <= 3600))
        throw DriverError(std::string("\"") + field + "\" must be between 0 and 3600 seconds");
    return seconds;
}

// What a touch command answers: the grid as it is once everything the
// touch set off has run, and the screen on top.
static Json after(SimDevice& device)
{
    device.settle();
    auto* top = device.top();
    auto state = grid_state(home_screen(device));
    state["top"] = top ? top->class_name() : "";
    return state;
}

static Json tap_tile(Driver& driver, Json const& request)
{
    auto& device = driver.device(request);
    auto& home = home_on_top(device);
    auto where = tile_centre(home, position_field(request, "position"));
    finger_down(device, home, where);
    device.touches().up(where);
    return after(device);
}

// A finger held still at `where` for `seconds`, then lifted.
static Json hold(Driver& driver, SimDevice& device, ViewController& home, Point where, double seconds)
{
    finger_down(device, home, where);
    driver.loop().advance(seconds);
    device.settle();
    device.touches().up(where);
    return after(device);
}

static Json long_press_tile(Driver& driver, Json const& request)
{
    auto& device = driver.device(request);
    auto& home = home_on_top(device);
    auto where = tile_centre(home, position_field(request, "position"));
    return hold(driver, device, home, where, seconds_field(request, "seconds", 1.0));
}

static Json long_press_point(Driver& driver, Json const& request)
{
    auto& device = driver.device(request);
    auto& home = home_on_top(device);
    return hold(driver, device, home, point_field(request, "at"), seconds_field(request, "seconds", 1.0));
}

// Press on a tile until the lift, move the finger to the target in equal
// steps, then lift it (or have the touch cancelled).
static Json drag_tile(Driver& driver, Json const& request)
{
    auto& device = driver.device(request);
    auto& home = home_on_top(device);
    auto start = tile_centre(home, position_field(request, "from"));
    Point end = request.contains("to_position") ? tile_centre(home, position_field(request, "to_position")) : point_field(request, "to");
    auto steps = optional_number(request, "steps", 5);
    if (!(steps >= 1 && steps <= 1000))
        throw DriverError("steps must be between 1 and 1000");
    double hold_for = seconds_field(request, "hold", 0.6);
    bool cancel = request.value("cancel", false);

    finger_down(device, home, start);
    driver.loop().advance(hold_for);
    device.settle();
    int count = static_cast<int>(steps);
    for (int i = 1; i <= count; ++i) {
        double t = static_cast<double>(i) / count;
        device.touches().move({ start.x + (end.x - start.x) * t, start.y + (end.y - start.y) * t });
        driver.loop().advance(1.0 / 60);
        device.settle();
    }
    if (cancel)
        device.touches().cancel();
    else
        device.touches().up(end);
    return after(device);
}

static Json scroll_grid(Driver& driver, Json const& request)
{
    auto& device = driver.device(request);
    auto& home = home_screen(device);
    auto y = optional_number(request, "y", std::numeric_limits<double>::quiet_NaN());
    if (!std::isfinite(y))
        throw DriverError("y must be a number: the content offset to scroll to");
    home._collectionView->user_scroll_to({ 0, y });
    return after(device);
}

void register_home_commands(Driver& driver)
{
    driver.add_command("grid", [](Driver& d, Json const& r) { return grid_state(home_screen(d.device(r))); });
    driver.add_command("tap_tile", tap_tile);
    driver.add_command("long_press_tile", long_press_tile);
    driver.add_command("long_press_point", long_press_point);
    driver.add_command("drag_tile", drag_tile);
    driver.add_command("scroll_grid", scroll_grid);
}

}
