// The result list control: one list's values as attribute rows or a table.
// Its window is made by the overview view.
#pragma once

struct QueryList;

class mbox {
public:
    mbox();
    ~mbox();
    mbox(const mbox&) = delete;
    mbox& operator=(const mbox&) = delete;

    QueryList* current_list = nullptr;  // the list on show
};
