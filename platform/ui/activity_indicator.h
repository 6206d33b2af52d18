#pragma once

// A spinning progress indicator. While it hides when stopped (the
// default), stopping it hides it and starting it shows it.

#include "platform/ui/view.h"

namespace cw {

class ActivityIndicator : public View {
public:
    using View::View;

    bool hides_when_stopped { true };
    Color color { Color::gray() };

    bool is_animating() const { return m_animating; }
    void start_animating();
    void stop_animating();

    char const* type_name() const override { return "ActivityIndicator"; }
    void describe(Record&) const override;

private:
    bool m_animating { false };
};

}
