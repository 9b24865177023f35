// Command targets: objects that handle numbered commands (menu entries,
// toolbar buttons, WM_COMMAND with lParam 0). Each class lists its commands
// in a table of named handlers; a command that is not in a class's table is
// looked up in its base's table.
#pragma once

#include <functional>
#include <initializer_list>
#include <vector>

class CCmdTarget;

struct CommandEntry {
    unsigned first_id;
    unsigned last_id;
    std::function<void(CCmdTarget&, unsigned id)> call;
};

// One class's commands and, through base, those of its base classes.
class CommandMap {
public:
    CommandMap(const CommandMap* base, std::initializer_list<CommandEntry> entries)
        : base_(base), entries_(entries)
    {
    }
    // The entry for the command, the most derived class's first; none when
    // no class of the chain handles it.
    const CommandEntry* find(unsigned id) const;

private:
    const CommandMap* base_;
    std::vector<CommandEntry> entries_;
};

// Table entries: one command to a handler without arguments, or a range of
// commands to a handler that takes the command number.
template <class T>
CommandEntry command_handler(unsigned id, void (T::*handler)())
{
    return {id, id, [handler](CCmdTarget& target, unsigned) { (static_cast<T&>(target).*handler)(); }};
}

template <class T>
CommandEntry command_range_handler(unsigned first, unsigned last, void (T::*handler)(unsigned))
{
    return {first, last, [handler](CCmdTarget& target, unsigned id) { (static_cast<T&>(target).*handler)(id); }};
}

class CCmdTarget {
public:
    CCmdTarget() = default;
    virtual ~CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;

    // With run set, runs the command's handler; either way true when this
    // target handles the command, false when it does not (the command then
    // goes on to the next target, or is shown disabled when none has it).
    virtual bool OnCmdMsg(unsigned id, bool run);

protected:
    // The class's command table; a derived class returns a static table
    // whose base is its base class's table.
    virtual const CommandMap& GetCommandMap() const;
};
