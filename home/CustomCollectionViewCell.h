#pragma once

// A tile of the home screen's grid: a rounded, outlined card with a label
// that fills it. Script tiles are filled dark grey; folder tiles take the
// grid's own colour, so a folder shows as a yellow outline.
//
// In rearrange mode a tile wobbles (a layer animation rocking it about its
// centre), takes no touches and has its long-press recogniser off, so a
// press on it reaches the grid's drag recogniser instead.

#include "platform/ui/collection_view.h"
#include "platform/ui/controls.h"

namespace cw {

class RunLoop;

namespace tile {
// The platform's system yellow, as the light appearance draws it.
inline constexpr Color border_color { 1.0, 204.0 / 255, 0.0, 1.0 };
inline constexpr double border_width = 3;
inline constexpr double corner_radius = 6;
inline constexpr Color script_background { 1.0 / 3, 1.0 / 3, 1.0 / 3, 1 };
inline constexpr Color folder_background { 0.22, 0.22, 0.22, 1 };
inline constexpr double shadow_opacity = 0.1;
inline constexpr Size shadow_offset { 2, 4 };
inline constexpr double label_minimum_scale = 0.25;

inline constexpr char wobble_key[] = "wobble";
inline constexpr char wobble_key_path[] = "transform.rotation.z";
// The swing is kept in single precision, as the animation takes it.
inline constexpr float wobble_angle = 0.03f;
inline constexpr double wobble_leg_duration = 0.1;
inline constexpr double reset_duration = 0.3;
}

class CustomCollectionViewCell : public CollectionViewCell {
public:
    // `initWithFrame:`. The clock stamps the animations' start times; a
    // tile without one stamps 0.
    explicit CustomCollectionViewCell(Rect frame, RunLoop const* clock = nullptr);

    Label* textLabel { nullptr };
    bool isInRearrangeMode { false };
    // None until the grid first fills the tile.
    GestureRecognizer* cellLongPressGestureRecognizer { nullptr };

    void setIsInRearrangeMode(bool);
    void applyWobbleAnimationToBorder();
    void resetWobbleAnimation();

    char const* type_name() const override { return "CustomCollectionViewCell"; }
    void describe(Record&) const override;

private:
    double now() const;
    void set_takes_touches(bool);

    RunLoop const* m_clock { nullptr };
};

}
