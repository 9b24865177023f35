// The window's document: it stands for the query file that the window
// shows. Making it writes the default query file where none exists; opening
// it reads another query file; its save writes the list view export; and it
// saves the queries with the user's choice of items.
#pragma once

#include "framework/document_win32.h"

class mdoc : public CDocument {
public:
    mdoc();
    ~mdoc() override;

    // The title is the query file's path.
    bool OnNewDocument() override;
    // Reads another query file in place of the chain, once no list is being
    // read; a missing or malformed file shows its message and keeps the
    // lists that were there.
    bool OnOpenDocument(const std::string& path) override;
    // The list view export of what the result list shows.
    bool OnSaveDocument(const std::string& path) override;
    // The export's dialog offers text files and adds ".txt" to a bare name.
    FileType SaveFileType() const override;

    // Asks for a file name (".xml" added to a bare name) and saves the
    // queries there (in lower case).
    void save_queries();
    // Writes the default query file at the query file's path unless a file
    // is there.
    void write_default_queries();

    // Once a query file was opened, the plain save command is no longer
    // offered: it would write the list view over that query file.
    bool OnCmdMsg(unsigned id, bool run) override;

private:
    bool opened_ = false;
};
