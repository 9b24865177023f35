// The host has no WMI service: COM does not start, with the code
// CO_E_NOTINITIALIZED, so every read takes its failure end.
#include "reader/wmi_service.h"

namespace {

class NoWmiService : public WmiService {
public:
    HResult initialize() override { return static_cast<HResult>(0x800401F0u); }
    HResult initialize_security() override { return static_cast<HResult>(0x800401F0u); }
    HResult create_locator(std::unique_ptr<WmiLocator>&) override { return static_cast<HResult>(0x800401F0u); }
    void uninitialize() override {}
};

}  // namespace

WmiService& default_wmi_service()
{
    static NoWmiService* service = new NoWmiService;  // never destroyed
    return *service;
}
