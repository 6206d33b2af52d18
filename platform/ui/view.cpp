#include "view.h"

#include "gesture_recognizer.h"

#include <algorithm>

namespace cw {

View::~View() = default;

void View::adopt(std::unique_ptr<View> child)
{
    child->m_superview = this;
    m_subviews.push_back(std::move(child));
}

std::unique_ptr<View> View::remove_from_superview()
{
    if (!m_superview)
        return nullptr;
    auto& siblings = m_superview->m_subviews;
    auto it = std::find_if(siblings.begin(), siblings.end(), [this](auto const& v) { return v.get() == this; });
    std::unique_ptr<View> self = std::move(*it);
    siblings.erase(it);
    m_superview = nullptr;
    return self;
}

void View::remove_all_subviews()
{
    m_subviews.clear();
}

View* View::find(std::string_view wanted)
{
    if (name == wanted)
        return this;
    for (auto& child : m_subviews) {
        if (auto* found = child->find(wanted))
            return found;
    }
    return nullptr;
}

Point View::convert_to_root(Point point) const
{
    for (View const* v = this; v; v = v->m_superview) {
        point.x += v->frame.origin.x;
        point.y += v->frame.origin.y;
    }
    return point;
}

void View::add_animation(LayerAnimation animation)
{
    remove_animation(animation.key);
    m_animations.push_back(std::move(animation));
}

void View::remove_animation(std::string const& key)
{
    std::erase_if(m_animations, [&](auto const& a) { return a.key == key; });
}

LayerAnimation const* View::animation(std::string const& key) const
{
    auto it = std::find_if(m_animations.begin(), m_animations.end(), [&](auto const& a) { return a.key == key; });
    return it == m_animations.end() ? nullptr : &*it;
}

GestureRecognizer& View::add_gesture_recognizer(std::unique_ptr<GestureRecognizer> recognizer)
{
    recognizer->view = this;
    m_gestures.push_back(std::move(recognizer));
    return *m_gestures.back();
}

Value to_value(Rect rect)
{
    return List { rect.origin.x, rect.origin.y, rect.size.width, rect.size.height };
}

Value to_value(Color color)
{
    return List { color.red, color.green, color.blue, color.alpha };
}

Value to_value(AffineTransform t)
{
    return List { t.a, t.b, t.c, t.d, t.tx, t.ty };
}

Value to_value(Size size)
{
    return List { size.width, size.height };
}

Value to_value(Point point)
{
    return List { point.x, point.y };
}

void View::describe(Record& record) const
{
    record["frame"] = to_value(frame);
    if (hidden)
        record["hidden"] = true;
    if (alpha != 1)
        record["alpha"] = alpha;
    if (background)
        record["background"] = to_value(*background);
    if (corner_radius != 0)
        record["cornerRadius"] = corner_radius;
    if (clips_to_bounds)
        record["clips"] = true;
    if (border_width != 0) {
        record["borderWidth"] = border_width;
        record["borderColor"] = to_value(border_color);
    }
    if (shadow.opacity != 0) {
        record["shadow"] = Record { { "color", to_value(shadow.color) }, { "offset", to_value(shadow.offset) },
            { "radius", shadow.radius }, { "opacity", shadow.opacity } };
    }
    if (!transform.is_identity())
        record["transform"] = to_value(transform);
    if (!m_animations.empty()) {
        List list;
        for (auto const& a : m_animations) {
            list.push_back(Record { { "key", a.key }, { "keyPath", a.key_path }, { "from", a.from }, { "to", a.to },
                { "duration", a.duration }, { "autoreverses", a.autoreverses }, { "repeatCount", a.repeat_count },
                { "timing", a.timing } });
        }
        record["animations"] = std::move(list);
    }
    if (!m_gestures.empty()) {
        List list;
        for (auto const& g : m_gestures) {
            char const* kind = g->type == GestureRecognizer::Type::Tap ? "tap" : g->type == GestureRecognizer::Type::LongPress ? "longPress" : "pan";
            list.push_back(kind);
        }
        record["gestures"] = std::move(list);
    }
}

Value View::snapshot() const
{
    Record record;
    record["type"] = type_name();
    if (!name.empty())
        record["name"] = name;
    describe(record);
    if (!m_subviews.empty()) {
        List children;
        for (auto const& child : m_subviews)
            children.push_back(child->snapshot());
        record["subviews"] = std::move(children);
    }
    return record;
}

}
