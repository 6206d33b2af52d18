// Automation commands for camera recording and the video gallery: what the
// simulated cameras, disk and photo library do, recording runs on the open
// prompter, and the gallery's play, save, share and delete.

#include "driver.h"

#include "home/ViewController.h"
#include "platform/services/player.h"
#include "platform/services/share_sheet.h"
#include "prompter/scriptViewController.h"
#include "sim/prompter_driving.h"
#include "videos/CustomVideoCell.h"
#include "videos/VideoViewController.h"

namespace cw {

using Json = nlohmann::json;

static sim::SimCameras cameras_from(std::string const& name)
{
    if (name == "none")
        return sim::SimCameras::None;
    if (name == "back")
        return sim::SimCameras::BackOnly;
    if (name == "front_and_back")
        return sim::SimCameras::FrontAndBack;
    throw DriverError("cameras are \"none\", \"back\" or \"front_and_back\"");
}

static Json capture_devices(Driver& driver, Json const& request)
{
    auto& capture = *driver.device(request).platform().capture;
    if (request.contains("cameras"))
        capture.set_cameras(cameras_from(required_string(request, "cameras")));
    if (auto it = request.find("camera_access"); it != request.end() && it->is_boolean())
        capture.camera_access_granted = it->get<bool>();
    if (auto it = request.find("microphone"); it != request.end() && it->is_boolean())
        capture.has_microphone = it->get<bool>();
    if (auto it = request.find("free_disk_bytes"); it != request.end()) {
        if (it->is_null())
            capture.free_disk_space.reset();
        else if (it->is_number_integer())
            capture.free_disk_space = it->get<std::int64_t>();
        else
            throw DriverError("free_disk_bytes is a whole number or null");
    }
    Json answer;
    answer["cameras"] = capture.devices_with_media_type(CaptureMediaType::Video).size();
    answer["free_disk_bytes"] = capture.free_disk_space ? Json(*capture.free_disk_space) : Json(nullptr);
    return answer;
}

static Json photo_library(Driver& driver, Json const& request)
{
    auto& photos = *driver.device(request).platform().photos;
    if (auto it = request.find("grant"); it != request.end()) {
        if (!it->is_boolean())
            throw DriverError("grant is true or false");
        photos.grants = it->get<bool>();
    }
    return { { "grant", photos.grants }, { "assets", photos.video_assets().size() } };
}

static scriptViewController& prompter_on_top(SimDevice& device)
{
    auto* prompter = top_prompter(device);
    if (!prompter)
        throw DriverError("no prompter is open");
    return *prompter;
}

// The files in the saved-video folder.
static Json saved_takes(SimDevice& device)
{
    return { { "takes", files::list(device.context().paths.saved_videos()).value_or(std::vector<std::string> {}) } };
}

// A whole recording run on the open prompter: start, `seconds` of virtual
// time, stop, and the finished take delivered.
static Json record(Driver& driver, Json const& request)
{
    auto& device = driver.device(request);
    auto& prompter = prompter_on_top(device);
    double seconds = optional_number(request, "seconds", 5);
    if (seconds < 0)
        throw DriverError("seconds must not be negative");
    prompter.startScript();
    driver.loop().advance(seconds);
    prompter.stopScript();
    device.settle();
    return saved_takes(device);
}

static Json camera_toggle(Driver& driver, Json const& request)
{
    auto& device = driver.device(request);
    auto& prompter = prompter_on_top(device);
    prompter.CameraToggleButtonPressed();
    auto const& input = prompter.capture().video_input;
    auto position = input ? input->device->position : CaptureDevicePosition::Unspecified;
    return { { "camera", position == CaptureDevicePosition::Front ? "front" : position == CaptureDevicePosition::Back ? "back" : "none" } };
}

static VideoViewController& gallery_on_top(SimDevice& device)
{
    auto* gallery = device.top_as<VideoViewController>();
    if (!gallery)
        throw DriverError("the video gallery is not on top");
    return *gallery;
}

static Json gallery_state(VideoViewController& gallery)
{
    return { { "videoURLs", gallery.videoURLs } };
}

static Json open_gallery(Driver& driver, Json const& request)
{
    auto& device = driver.device(request);
    auto* home = dynamic_cast<ViewController*>(device.top());
    if (!home)
        throw DriverError("the home screen is not on top");
    home->presentVideoViewController();
    device.settle();
    return gallery_state(gallery_on_top(device));
}

static CustomVideoCell& cell_of(VideoViewController& gallery, Json const& request)
{
    auto item = static_cast<std::int64_t>(optional_number(request, "item", -1));
    if (item < 0 || item >= static_cast<std::int64_t>(gallery.videoURLs.size()))
        throw DriverError("no take at that item");
    auto& grid = *gallery.collectionView;
    grid.layout_if_needed();
    auto* cell = dynamic_cast<CustomVideoCell*>(grid.cell_for_item_at_index_path({ 0, item }));
    if (!cell) {
        if (auto frame = grid.layout_frame_for_item({ 0, item }))
            grid.user_scroll_to({ 0, frame->origin.y });
        cell = dynamic_cast<CustomVideoCell*>(grid.cell_for_item_at_index_path({ 0, item }));
    }
    if (!cell)
        throw DriverError("the take's cell is not on screen");
    return *cell;
}

static void gesture(CustomVideoCell& cell, GestureRecognizer::Type type, std::vector<GestureState> states)
{
    for (auto const& recognizer : cell.gesture_recognizers())
        if (recognizer->type == type) {
            Point middle { cell.frame.size.width / 2, cell.frame.size.height / 2 };
            for (auto state : states)
                recognizer->update(state, middle);
            return;
        }
    throw DriverError("the cell has no such recogniser");
}

static Json play(Driver& driver, Json const& request)
{
    auto& device = driver.device(request);
    gesture(cell_of(gallery_on_top(device), request), GestureRecognizer::Type::Tap, { GestureState::Ended });
    device.settle();
    auto* player = device.top_as<PlayerViewController>();
    if (!player || !player->player)
        throw DriverError("no player opened");
    return { { "url", player->player->url() }, { "playing", player->player->is_playing() } };
}

// The long press and the options sheet's action, in one step.
static Json take_action(Driver& driver, Json const& request, char const* action)
{
    auto& device = driver.device(request);
    auto& gallery = gallery_on_top(device);
    gesture(cell_of(gallery, request), GestureRecognizer::Type::LongPress, { GestureState::Began, GestureState::Ended });
    device.settle();
    if (!device.choose(action))
        throw DriverError("the options sheet did not open");
    device.settle();
    return gallery_state(gallery);
}

static Json share(Driver& driver, Json const& request)
{
    auto& device = driver.device(request);
    take_action(driver, request, "Share");
    auto* sheet = device.top_as<ActivityViewController>();
    if (!sheet)
        throw DriverError("no share sheet opened");
    Json answer { { "offered", sheet->offered_activity_types() } };
    if (request.contains("activity")) {
        if (!sheet->choose(required_string(request, "activity")))
            throw DriverError("that activity is not offered");
        device.settle();
    }
    return answer;
}

void register_videos_commands(Driver& driver)
{
    driver.add_command("capture_devices", capture_devices);
    driver.add_command("photo_library", photo_library);
    driver.add_command("record", record);
    driver.add_command("takes", [](Driver& d, Json const& r) { return saved_takes(d.device(r)); });
    driver.add_command("camera_toggle", camera_toggle);
    driver.add_command("open_gallery", open_gallery);
    driver.add_command("play_take", play);
    driver.add_command("save_take", [](Driver& d, Json const& r) { return take_action(d, r, "Save to Photos"); });
    driver.add_command("share_take", share);
    driver.add_command("delete_take", [](Driver& d, Json const& r) { return take_action(d, r, "Delete"); });
}

}
