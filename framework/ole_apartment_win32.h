// OLE on the calling thread for as long as the object lives: an apartment
// for the controls that the window hosts (the web browser control), with
// the clipboard and drag and drop they rely on. A thread that had COM in
// another mode keeps it; then nothing is undone at the end.
#pragma once

#include <ole2.h>

class OleApartment {
public:
    OleApartment() : initialized_(SUCCEEDED(::OleInitialize(nullptr))) {}
    ~OleApartment()
    {
        if (initialized_)
            ::OleUninitialize();
    }
    OleApartment(const OleApartment&) = delete;
    OleApartment& operator=(const OleApartment&) = delete;

    bool initialized() const { return initialized_; }

private:
    bool initialized_;
};
