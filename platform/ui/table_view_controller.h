#pragma once

// A screen whose view is a table, and which answers the table's questions
// itself. Its layout adds static cells in `loadView` after calling this
// class's; the table is filled the first time the screen is about to
// appear, as the toolkit does. By default the answers are the layout's own
// sections and rows; a screen overrides them to show fewer.

#include "platform/ui/screen.h"
#include "platform/ui/table_view.h"

namespace cw {

class TableViewController : public Screen, public TableViewDataSource {
public:
    using Screen::Screen;

    void loadView() override;
    // Subclasses that override this call it first.
    void viewWillAppear(bool animated) override;

    TableView& table_view();

    int numberOfSectionsInTableView(TableView&) override;
    int tableViewNumberOfRowsInSection(TableView&, int section) override;

    char const* class_name() const override { return "TableViewController"; }

private:
    TableView* m_table { nullptr };
};

}
