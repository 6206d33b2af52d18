#pragma once

// A row of segments of which at most one is selected. `selected_segment()`
// answers `no_segment` (-1) when none is.
//
// Its action runs only when a user selects a segment other than the one
// already selected; selecting from code fires nothing.

#include "platform/ui/view.h"

#include <functional>
#include <string>
#include <vector>

namespace cw {

class SegmentedControl : public View {
public:
    static constexpr int no_segment = -1;

    explicit SegmentedControl(std::vector<std::string> titles, Rect frame = {});

    bool enabled { true };
    std::function<void(SegmentedControl&)> on_value_changed;

    std::vector<std::string> const& titles() const { return m_titles; }
    int number_of_segments() const { return static_cast<int>(m_titles.size()); }

    int selected_segment() const { return m_selected; }
    // An index outside the segments selects none.
    void set_selected_segment(int);

    // A user's tap on a segment. Answers false when there is no such
    // segment or the control takes no input.
    bool user_select_segment(int);

    char const* type_name() const override { return "SegmentedControl"; }
    void describe(Record&) const override;

private:
    std::vector<std::string> m_titles;
    int m_selected { no_segment };
};

}
