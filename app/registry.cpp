// PLACEHOLDER
#include "app/registry.h"
std::optional<std::string> read_rval(const char*, const char*, const char*, uint32_t& t) { t = 0; return std::nullopt; }
int32_t read_rdword(const char*, const char*, const char*) { return -1; }
int write_rdword(const char*, const char*, const char*, uint32_t) { return 1; }
std::optional<std::string> read_rstring(const char*, const char*, const char*) { return std::nullopt; }
int write_rstring(const char*, const char*, const char*, const std::string&) { return 1; }
int enum_rkeys(const char*, const char*, std::vector<std::string>&) { return 1; }
int enum_rvalues(const char*, const char*, std::vector<std::string>&) { return 1; }
