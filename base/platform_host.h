// Host stand-ins of platform.h: the answers that tests set.
#pragma once

#include <string>

namespace platform::host {

void set_version(int major, int minor);
void set_module_file_name(const std::string& path);
// Whether create_instance_mutex and instance_mutex_held find another copy
// running.
void set_other_instance_running(bool running);

}  // namespace platform::host
