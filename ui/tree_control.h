// The navigation tree control. Its window is made by the tree view.
#pragma once

class mtrc {
public:
    mtrc();
    ~mtrc();
    mtrc(const mtrc&) = delete;
    mtrc& operator=(const mtrc&) = delete;
};
