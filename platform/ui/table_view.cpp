#include "table_view.h"

#include <algorithm>

namespace cw {

TableView::Section& TableView::section(int index)
{
    if (index >= static_sections())
        m_sections.resize(static_cast<size_t>(index) + 1);
    return m_sections[static_cast<size_t>(index)];
}

TableViewCell& TableView::add_static_cell(int section_index, std::unique_ptr<TableViewCell> cell)
{
    if (cell->frame.size.height <= 0)
        cell->frame.size.height = row_height;
    cell->frame.size.width = frame.size.width;
    auto& added = add_subview(std::move(cell));
    section(std::max(0, section_index)).cells.push_back(&added);
    return added;
}

void TableView::set_section_header(int section_index, std::string title)
{
    section(std::max(0, section_index)).header = std::move(title);
}

int TableView::static_rows(int section_index) const
{
    if (section_index < 0 || section_index >= static_sections())
        return 0;
    return static_cast<int>(m_sections[static_cast<size_t>(section_index)].cells.size());
}

void TableView::reload_data()
{
    m_loaded = true;
    m_shown_rows.clear();
    int sections = data_source ? std::max(0, data_source->numberOfSectionsInTableView(*this)) : static_sections();
    for (int s = 0; s < sections; ++s)
        m_shown_rows.push_back(data_source ? std::max(0, data_source->tableViewNumberOfRowsInSection(*this, s)) : static_rows(s));

    double y = 0;
    for (int s = 0; s < static_sections(); ++s) {
        int shown = s < number_of_sections() ? m_shown_rows[static_cast<size_t>(s)] : 0;
        if (shown > 0)
            y += section_gap;
        auto& cells = m_sections[static_cast<size_t>(s)].cells;
        for (int r = 0; r < static_cast<int>(cells.size()); ++r) {
            auto* cell = cells[static_cast<size_t>(r)];
            cell->hidden = r >= shown;
            if (cell->hidden)
                continue;
            cell->frame.origin = { 0, y };
            cell->frame.size.width = frame.size.width;
            y += cell->frame.size.height;
        }
    }
    content_size = { frame.size.width, y };
}

int TableView::number_of_rows_in_section(int section_index) const
{
    if (section_index < 0 || section_index >= number_of_sections())
        return 0;
    return m_shown_rows[static_cast<size_t>(section_index)];
}

TableViewCell* TableView::cell_for_row(int section_index, int row) const
{
    if (row < 0 || row >= number_of_rows_in_section(section_index) || row >= static_rows(section_index))
        return nullptr;
    return m_sections[static_cast<size_t>(section_index)].cells[static_cast<size_t>(row)];
}

void TableView::describe(Record& record) const
{
    ScrollView::describe(record);
    List sections;
    for (int s = 0; s < number_of_sections(); ++s) {
        Record section;
        section["rows"] = std::int64_t { m_shown_rows[static_cast<size_t>(s)] };
        if (s < static_sections() && !m_sections[static_cast<size_t>(s)].header.empty())
            section["header"] = m_sections[static_cast<size_t>(s)].header;
        sections.push_back(std::move(section));
    }
    record["sections"] = std::move(sections);
}

}
