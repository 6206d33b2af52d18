#pragma once

// The toolkit model's view: plain data that a front end draws. A view has a
// frame in its parent's coordinates (points), appearance values, an affine
// transform about its centre, and owns its subviews. Views carry an outlet
// `name` so the headless driver and the browser front end can address them.
//
// `snapshot` turns a view tree into a typed record; the front ends draw from
// snapshots and send only what changed between two of them.

#include "platform/foundation/value.h"
#include "platform/ui/geometry.h"
#include "platform/ui/gesture_recognizer.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace cw {


struct Shadow {
    Color color { Color::black() };
    Size offset { 0, -3 };
    double radius { 3 };
    double opacity { 0 };
    bool operator==(Shadow const&) const = default;
};

// A recorded layer animation, e.g. the rearrange-mode wobble. Front ends play
// it; the model only remembers what was asked.
struct LayerAnimation {
    std::string key;
    std::string key_path;
    double from { 0 }, to { 0 };
    double duration { 0 };
    bool autoreverses { false };
    double repeat_count { 0 };
    std::string timing;
    double begin_time { 0 };
    bool operator==(LayerAnimation const&) const = default;
};

class View {
public:
    View() = default;
    explicit View(Rect frame)
        : frame(frame)
    {
    }
    virtual ~View();
    View(View const&) = delete;
    View& operator=(View const&) = delete;

    std::string name;
    Rect frame;
    bool hidden { false };
    double alpha { 1 };
    std::optional<Color> background;
    double corner_radius { 0 };
    bool clips_to_bounds { false };
    double border_width { 0 };
    Color border_color { Color::black() };
    Shadow shadow;
    AffineTransform transform;
    bool user_interaction_enabled { true };
    int tag { 0 };

    template<typename T>
    T& add_subview(std::unique_ptr<T> child)
    {
        T& ref = *child;
        adopt(std::move(child));
        return ref;
    }
    std::unique_ptr<View> remove_from_superview();
    void remove_all_subviews();
    View* superview() const { return m_superview; }
    std::vector<std::unique_ptr<View>> const& subviews() const { return m_subviews; }

    // Depth-first search by outlet name, this view included.
    View* find(std::string_view name);
    template<typename T>
    T* find_as(std::string_view name) { return dynamic_cast<T*>(find(name)); }

    // Point in this view's coordinates -> point in the root's coordinates.
    Point convert_to_root(Point) const;

    // Layer animations by key; adding under an existing key replaces it.
    void add_animation(LayerAnimation);
    void remove_animation(std::string const& key);
    void remove_all_animations() { m_animations.clear(); }
    LayerAnimation const* animation(std::string const& key) const;
    std::vector<LayerAnimation> const& animations() const { return m_animations; }

    GestureRecognizer& add_gesture_recognizer(std::unique_ptr<GestureRecognizer>);
    std::vector<std::unique_ptr<GestureRecognizer>> const& gesture_recognizers() const { return m_gestures; }

    virtual char const* type_name() const { return "View"; }
    // Adds this view's own properties to a snapshot record.
    virtual void describe(Record&) const;
    Value snapshot() const;

private:
    void adopt(std::unique_ptr<View>);

    View* m_superview { nullptr };
    std::vector<std::unique_ptr<View>> m_subviews;
    std::vector<LayerAnimation> m_animations;
    std::vector<std::unique_ptr<GestureRecognizer>> m_gestures;
};

// Helpers that write geometry and colours into snapshot records.
Value to_value(Rect);
Value to_value(Color);
Value to_value(AffineTransform);
Value to_value(Size);
Value to_value(Point);

}
