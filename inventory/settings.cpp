#include "inventory/settings.h"

#include "base/log.h"
#include "base/platform.h"
#include "base/registry.h"

std::string replace_last_three(const std::string& path, const char* with)
{
    std::string out = path.size() >= 3 ? path.substr(0, path.size() - 3) : std::string();
    return out + with;
}

std::string query_file_for(const std::string& program_path)
{
    size_t dot = program_path.rfind('.');
    if (dot == std::string::npos)
        return "polrix.xml";
    return program_path.substr(0, dot) + ".xml";
}

CGUI::CGUI(std::string& cfg_path, std::string& txt_path)
{
    platform::Version version = platform::windows_version();
    win_major = version.major;

    if (std::optional<std::string> temp = platform::environment_variable("TEMP")) {
        temp_dir = *temp;
        log_path = temp_dir + "\\polrix.log";
    } else {
        log_path = "polrix.log";
    }
    // Failures are said, and a refused second copy never touches the running
    // copy's log: while another copy holds the marker, this copy does not
    // open the log (its one line is appended later, append_line). The log
    // of the copy that runs is emptied and then written in append mode, so
    // that such a line is never overwritten by the running copy's next one.
    auto file = std::make_unique<TextFile>();
    if (!platform::instance_mutex_held(INSTANCE_MUTEX) && file->open(log_path, 'w') && file->open(log_path, 'a')) {
        log = std::move(file);
        log->write("Logfile created by polrix.exe:\n");
        log->printf("Windows Version: %d.%d\n", version.major, version.minor);
        log->flush();
        set_log_file(log.get());
    }

    std::string program = platform::module_file_name();
    // On purpose the last three characters, whatever the extension; the
    // window's tree view sets the path again by its own rule (query_file_for).
    cfg_path = replace_last_three(program, "xml");
    txt_path = replace_last_three(program, "txt");
    std::string htm = replace_last_three(program, "htm");
    size_t slash = htm.rfind('\\');
    if (slash != std::string::npos)
        htm_path = temp_dir + "\\" + htm.substr(slash + 1);
    else
        htm_path = temp_dir + "\\polrix.htm";

    xo = read_rdword(SETTINGS_ROOT, SETTINGS_KEY, "xo");
    yo = read_rdword(SETTINGS_ROOT, SETTINGS_KEY, "yo");
    xs = read_rdword(SETTINGS_ROOT, SETTINGS_KEY, "xs");
    ys = read_rdword(SETTINGS_ROOT, SETTINGS_KEY, "ys");
    ft = read_rdword(SETTINGS_ROOT, SETTINGS_KEY, "ft");
    fs = read_rdword(SETTINGS_ROOT, SETTINGS_KEY, "fs");
    if (ft < 0) {
        ft = 1;
        write_rdword(SETTINGS_ROOT, SETTINGS_KEY, "ft", 1);
    }
    if (fs < 0) {
        fs = 0;
        write_rdword(SETTINGS_ROOT, SETTINGS_KEY, "fs", 0);
    }
    // Every run ends: the longest wait for one answer of the WMI service.
    // Nothing, 0 or more than a day counts as missing.
    wt = read_rdword(SETTINGS_ROOT, SETTINGS_KEY, "wt");
    if (wt <= 0 || wt > MAX_WAIT_SECONDS) {
        wt = DEFAULT_WAIT_SECONDS;
        write_rdword(SETTINGS_ROOT, SETTINGS_KEY, "wt", DEFAULT_WAIT_SECONDS);
    }
    if (!read_rstring(SETTINGS_ROOT, SETTINGS_KEY, nullptr))
        write_rstring(SETTINGS_ROOT, SETTINGS_KEY, nullptr, "Polrix, Version 1.00");
    font_face = "Tahoma";
    if (auto mf = read_rstring(SETTINGS_ROOT, SETTINGS_KEY, "mf"))
        font_face = *mf;
    else
        write_rstring(SETTINGS_ROOT, SETTINGS_KEY, "mf", font_face);

    write_line("CGUI::CGUI () OK ...\n");
}

CGUI::~CGUI()
{
    write_line("CGUI::~CGUI () OK ...\n");
    // Nothing writes to the log after this line: the file closes with it.
    if (log && log_file() == log.get())
        set_log_file(nullptr);
}

void CGUI::write_line(const std::string& line)
{
    if (log)
        log->write(line, true);
}

void CGUI::append_line(const std::string& line)
{
    if (log) {
        log->write(line, true);
        return;
    }
    TextFile file;
    if (file.open(log_path, 'a'))
        file.write(line, true);
}

void CGUI::fill_missing_placement(int screen_width, int screen_height)
{
    if (xs <= 0) {
        xo = screen_width / 6;
        xs = (2 * screen_width) / 3;
        write_rdword(SETTINGS_ROOT, SETTINGS_KEY, "xo", static_cast<uint32_t>(xo));
        write_rdword(SETTINGS_ROOT, SETTINGS_KEY, "xs", static_cast<uint32_t>(xs));
    }
    if (ys <= 0) {
        yo = screen_height / 6;
        ys = (2 * screen_height) / 3;
        write_rdword(SETTINGS_ROOT, SETTINGS_KEY, "yo", static_cast<uint32_t>(yo));
        write_rdword(SETTINGS_ROOT, SETTINGS_KEY, "ys", static_cast<uint32_t>(ys));
    }
}
