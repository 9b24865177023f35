#include "framework/cmdtarget_win32.h"

const CommandEntry* CommandMap::find(unsigned id) const
{
    for (const CommandMap* map = this; map; map = map->base_) {
        for (const CommandEntry& entry : map->entries_) {
            if (id >= entry.first_id && id <= entry.last_id)
                return &entry;
        }
    }
    return nullptr;
}

bool CCmdTarget::OnCmdMsg(unsigned id, bool run)
{
    const CommandEntry* entry = GetCommandMap().find(id);
    if (!entry)
        return false;
    if (run)
        entry->call(*this, id);
    return true;
}

const CommandMap& CCmdTarget::GetCommandMap() const
{
    static const CommandMap map(nullptr, {});
    return map;
}
