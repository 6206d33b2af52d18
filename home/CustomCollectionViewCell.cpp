#include "CustomCollectionViewCell.h"

#include "platform/foundation/run_loop.h"

#include <limits>

namespace cw {

CustomCollectionViewCell::CustomCollectionViewCell(Rect frame, RunLoop const* clock)
    : CollectionViewCell(frame)
    , m_clock(clock)
{
    border_width = tile::border_width;
    border_color = tile::border_color;
    corner_radius = tile::corner_radius;
    shadow.color = Color::black();
    shadow.opacity = tile::shadow_opacity;
    shadow.offset = tile::shadow_offset;
    background = tile::script_background;

    auto label = std::make_unique<Label>(Rect { {}, frame.size });
    label->alignment = TextAlignment::Center;
    label->number_of_lines = 0;
    label->adjusts_font_size_to_fit = true;
    label->minimum_scale_factor = tile::label_minimum_scale;
    label->text_color = Color::white();
    textLabel = &add_subview(std::move(label));
}

double CustomCollectionViewCell::now() const
{
    return m_clock ? m_clock->now() : 0;
}

void CustomCollectionViewCell::set_takes_touches(bool takes)
{
    user_interaction_enabled = takes;
    textLabel->user_interaction_enabled = takes;
}

void CustomCollectionViewCell::setIsInRearrangeMode(bool on)
{
    isInRearrangeMode = on;
    if (on) {
        if (cellLongPressGestureRecognizer)
            cellLongPressGestureRecognizer->enabled = false;
        applyWobbleAnimationToBorder();
    } else if (cellLongPressGestureRecognizer) {
        cellLongPressGestureRecognizer->enabled = true;
    }
}

// Rocks the tile from one end of its swing to the other and back, forever.
// Adding it again under the same key replaces the running one, which starts
// over from the beginning.
void CustomCollectionViewCell::applyWobbleAnimationToBorder()
{
    LayerAnimation wobble;
    wobble.key = tile::wobble_key;
    wobble.key_path = tile::wobble_key_path;
    wobble.from = static_cast<double>(-tile::wobble_angle);
    wobble.to = static_cast<double>(tile::wobble_angle);
    wobble.duration = tile::wobble_leg_duration;
    wobble.autoreverses = true;
    wobble.repeat_count = std::numeric_limits<float>::infinity();
    wobble.timing = "linear";
    wobble.begin_time = now();
    add_animation(std::move(wobble));
    set_takes_touches(false);
}

// Eases the tile back upright. The wobble goes with it: a tile out of
// rearrange mode never rocks.
void CustomCollectionViewCell::resetWobbleAnimation()
{
    remove_animation(tile::wobble_key);
    LayerAnimation reset;
    reset.key = "transform";
    reset.key_path = "transform";
    reset.duration = tile::reset_duration;
    reset.repeat_count = 1;
    reset.timing = "easeInEaseOut";
    reset.begin_time = now();
    add_animation(std::move(reset));
    transform = AffineTransform::identity();
    set_takes_touches(true);
    isInRearrangeMode = false;
}

void CustomCollectionViewCell::describe(Record& record) const
{
    CollectionViewCell::describe(record);
    record["isInRearrangeMode"] = isInRearrangeMode;
}

}
