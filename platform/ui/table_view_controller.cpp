#include "table_view_controller.h"

#include "app_context.h"

namespace cw {

void TableViewController::loadView()
{
    auto table = std::make_unique<TableView>(context().window.bounds());
    table->background = Color::white();
    table->data_source = this;
    m_table = table.get();
    set_view(std::move(table));
}

void TableViewController::viewWillAppear(bool)
{
    if (!table_view().has_loaded_data())
        table_view().reload_data();
}

TableView& TableViewController::table_view()
{
    view();
    return *m_table;
}

int TableViewController::numberOfSectionsInTableView(TableView& table)
{
    return table.static_sections();
}

int TableViewController::tableViewNumberOfRowsInSection(TableView& table, int section)
{
    return table.static_rows(section);
}

}
