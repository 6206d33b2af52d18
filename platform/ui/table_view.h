#pragma once

// A table: rows in sections, scrolling vertically. Screens made from layout
// resources use it with static cells: the layout adds the cells of each
// section once, and the data source answers how many sections and how many
// rows of each section are shown. `reload_data` asks the data source again,
// shows that many cells of each section (cells beyond the answer are
// hidden; rows beyond the cells the layout made stay empty), stacks the
// shown rows from the top with a gap before each section, and sets the
// content size to fit them.

#include "platform/ui/scroll_view.h"

#include <memory>
#include <string>
#include <vector>

namespace cw {

class TableView;

// One row. Its controls are its subviews, in the cell's coordinates.
class TableViewCell : public View {
public:
    using View::View;
    char const* type_name() const override { return "TableViewCell"; }
};

class TableViewDataSource {
public:
    virtual ~TableViewDataSource() = default;
    virtual int numberOfSectionsInTableView(TableView&) = 0;
    virtual int tableViewNumberOfRowsInSection(TableView&, int section) = 0;
};

class TableView : public ScrollView {
public:
    using ScrollView::ScrollView;

    TableViewDataSource* data_source { nullptr };
    double row_height { 44 };
    double section_gap { 35 };

    // The layout's static cells. Sections are numbered from 0 and made as
    // needed; the cell's height is taken from its frame when set, else
    // `row_height`.
    TableViewCell& add_static_cell(int section, std::unique_ptr<TableViewCell>);
    void set_section_header(int section, std::string title);
    int static_sections() const { return static_cast<int>(m_sections.size()); }
    int static_rows(int section) const;

    void reload_data();
    bool has_loaded_data() const { return m_loaded; }
    // What the last reload showed.
    int number_of_sections() const { return static_cast<int>(m_shown_rows.size()); }
    int number_of_rows_in_section(int section) const;
    // A shown row's cell; none for a row that is not shown or has no cell.
    TableViewCell* cell_for_row(int section, int row) const;

    char const* type_name() const override { return "TableView"; }
    void describe(Record&) const override;

private:
    struct Section {
        std::string header;
        std::vector<TableViewCell*> cells;
    };
    Section& section(int);

    std::vector<Section> m_sections;
    std::vector<int> m_shown_rows;
    bool m_loaded { false };
};

}
