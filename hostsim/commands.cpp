// Commands, command buttons and menus, as the simulator runs them.
#include <cctype>

#include "internal.h"

namespace hostsim {

using namespace internal;

// ---- Commands ----

Commands::Commands() {
    Menu plugins;
    plugins.name = "Plugins";
    pluginsMenu = Add(menus, plugins);
}

XPLMCommandRef Commands::find(const std::string& name) const {
    for (const auto& c : commands) {
        if (c->name == name)
            return c.get();
    }
    return nullptr;
}

Command* Commands::command(XPLMCommandRef ref) const {
    for (const auto& c : commands) {
        if (c.get() == ref)
            return c.get();
    }
    return nullptr;
}

namespace {
bool Same(const CommandHandler& a, const CommandHandler& b) {
    return a.command == b.command && a.callback == b.callback &&
           (a.before != 0) == (b.before != 0) && a.refcon == b.refcon;
}
}  // namespace

void Commands::run(XPLMCommandRef ref, XPLMCommandPhase phase) {
    if (!H().pluginEnabled)
        return;
    // Handlers may come and go inside a callback: walk a copy, skipping any that went away.
    const std::vector<CommandHandler> registered = handlers;
    for (int pass = 0; pass < 2; ++pass) {
        const bool before = pass == 0;
        for (const CommandHandler& h : registered) {
            if (h.command != ref || (h.before != 0) != before)
                continue;
            const bool live = std::any_of(handlers.begin(), handlers.end(),
                                          [&h](const CommandHandler& c) { return Same(c, h); });
            if (live && h.callback(ref, phase, h.refcon) == 0 && before)
                return;  // the simulator's own handling and the after-handlers are skipped
        }
    }
}

void Commands::begin(XPLMCommandRef ref) {
    Command* c = command(ref);
    if (c == nullptr) {
        Misuse("XPLMCommandBegin of an unknown command");
        return;
    }
    ++c->held;
    run(ref, xplm_CommandBegin);
}

void Commands::end(XPLMCommandRef ref) {
    Command* c = command(ref);
    if (c == nullptr || c->held == 0) {
        Misuse("XPLMCommandEnd of a command that was not begun");
        return;
    }
    --c->held;
    run(ref, xplm_CommandEnd);
}

void Commands::once(XPLMCommandRef ref) {
    begin(ref);
    if (command(ref) != nullptr)
        end(ref);
}

void Commands::frame() {
    std::vector<XPLMCommandRef> held;
    for (const auto& c : commands) {
        if (c->held > 0)
            held.push_back(c.get());
    }
    for (XPLMCommandRef ref : held)
        run(ref, xplm_CommandContinue);
}

// ---- Menus ----

const Menu* Commands::menu(XPLMMenuID id) const {
    for (const Menu& m : menus) {
        if (m.id == id)
            return &m;
    }
    return nullptr;
}

const MenuItem* Commands::findMenuItem(const std::string& name, const Menu** holder) const {
    for (const Menu& m : menus) {
        for (const MenuItem& item : m.items) {
            const bool same =
                item.name.size() == name.size() &&
                std::equal(name.begin(), name.end(), item.name.begin(), [](char a, char b) {
                    return std::tolower(static_cast<unsigned char>(a)) ==
                           std::tolower(static_cast<unsigned char>(b));
                });
            if (!same)
                continue;
            if (holder != nullptr)
                *holder = &m;
            return &item;
        }
    }
    return nullptr;
}

bool Commands::pickMenuItem(const std::string& name) {
    const Menu* m = nullptr;
    const MenuItem* item = findMenuItem(name, &m);
    if (item == nullptr || !item->enabled)
        return false;
    if (item->command != nullptr) {
        once(item->command);
    } else if (m->handler != nullptr && H().pluginEnabled) {
        m->handler(m->ref, item->ref);
    }
    return true;
}

namespace {

// Null, and misuse reported in fn's name, for a menu or item that does not exist.
Menu* EditMenu(XPLMMenuID id, const char* fn) {
    Menu* m = const_cast<Menu*>(H().commands.menu(id));
    if (m == nullptr)
        Misuse(std::string(fn) + " on a menu that does not exist");
    return m;
}

// Whether the item takes an index: every one but a separator, unless separators do too.
bool Indexed(const MenuItem& item) {
    return H().commands.separatorsIndexed || !item.separator;
}

// Where the item of that index sits among the menu's items, separators and all; the end for none.
size_t Position(const Menu& m, int index) {
    size_t at = 0;
    for (int seen = -1; at < m.items.size(); ++at) {
        if (Indexed(m.items[at]))
            ++seen;
        if (seen == index)
            break;
    }
    return index < 0 ? m.items.size() : at;
}

MenuItem* EditItem(XPLMMenuID id, int index, const char* fn) {
    Menu* m = EditMenu(id, fn);
    if (m == nullptr)
        return nullptr;
    const size_t at = Position(*m, index);
    if (at >= m->items.size()) {
        Misuse(std::string(fn) + " with item index " + std::to_string(index) + " out of range");
        return nullptr;
    }
    return &m->items[at];
}

}  // namespace

}  // namespace hostsim

using namespace hostsim;
using namespace hostsim::internal;

extern "C" {

XPLM_API void XPLMCommandButtonPress(XPLMCommandButtonID inButton) {
    RECORD("XPLMCommandButtonPress", {Arg::Int(inButton)});
}

XPLM_API void XPLMCommandButtonRelease(XPLMCommandButtonID inButton) {
    RECORD("XPLMCommandButtonRelease", {Arg::Int(inButton)});
}

XPLM_API void XPLMCommandEnd(XPLMCommandRef inCommand) {
    RECORD("XPLMCommandEnd", {Arg::Pointer(inCommand)});
    H().commands.end(inCommand);
}

XPLM_API XPLMCommandRef XPLMCreateCommand(const char* inName, const char* inDescription) {
    Call* call = RECORD("XPLMCreateCommand", {Arg::Text(inName), Arg::Text(inDescription)});
    XPLMCommandRef ref = nullptr;
    hostsim::Commands& commands = H().commands;
    if (inName == nullptr || *inName == '\0') {
        Misuse("XPLMCreateCommand without a name");
    } else if ((ref = commands.find(inName)) == nullptr) {
        auto command = std::make_unique<hostsim::Command>();
        command->name = inName;
        command->description = inDescription == nullptr ? "" : inDescription;
        commands.commands.push_back(std::move(command));
        ref = commands.commands.back().get();
    }
    Result(call, Arg::Pointer(ref));
    return ref;
}

XPLM_API void XPLMRegisterCommandHandler(XPLMCommandRef inComand, XPLMCommandCallback_f inHandler,
                                         int inBefore, void* inRefcon) {
    RECORD("XPLMRegisterCommandHandler",
           {Arg::Pointer(inComand), Fn(inHandler), Arg::Int(inBefore), Arg::Pointer(inRefcon)});
    if (H().commands.command(inComand) == nullptr || inHandler == nullptr) {
        Misuse("XPLMRegisterCommandHandler for an unknown command or without a callback");
        return;
    }
    H().commands.handlers.push_back({inComand, inHandler, inBefore, inRefcon});
}

XPLM_API void XPLMUnregisterCommandHandler(XPLMCommandRef inComand, XPLMCommandCallback_f inHandler,
                                           int inBefore, void* inRefcon) {
    RECORD("XPLMUnregisterCommandHandler",
           {Arg::Pointer(inComand), Fn(inHandler), Arg::Int(inBefore), Arg::Pointer(inRefcon)});
    auto& handlers = H().commands.handlers;
    const CommandHandler gone{inComand, inHandler, inBefore, inRefcon};
    auto it = std::find_if(handlers.begin(), handlers.end(),
                           [&gone](const CommandHandler& h) { return Same(h, gone); });
    if (it != handlers.end()) {
        handlers.erase(it);
        return;
    }
    Misuse(
        "XPLMUnregisterCommandHandler that matches no registration in command, callback, "
        "before flag and refcon");
}

XPLM_API XPLMMenuID XPLMFindPluginsMenu(void) {
    Call* call = RECORD("XPLMFindPluginsMenu", {});
    Result(call, Arg::Pointer(H().commands.pluginsMenu));
    return H().commands.pluginsMenu;
}

XPLM_API XPLMMenuID XPLMCreateMenu(const char* inName, XPLMMenuID inParentMenu, int inParentItem,
                                   XPLMMenuHandler_f inHandler, void* inMenuRef) {
    Call* call =
        RECORD("XPLMCreateMenu", {Arg::Text(inName), Arg::Pointer(inParentMenu),
                                  Arg::Int(inParentItem), Fn(inHandler), Arg::Pointer(inMenuRef)});
    hostsim::Menu m;
    m.name = inName == nullptr ? "" : inName;
    m.handler = inHandler;
    m.ref = inMenuRef;
    XPLMMenuID id = nullptr;
    if (m.name.empty()) {
        Misuse("XPLMCreateMenu without a name");
    } else if (inParentMenu == nullptr ||
               EditItem(inParentMenu, inParentItem, "XPLMCreateMenu") != nullptr) {
        id = Add(H().commands.menus, m);
        // Looked up again: adding the menu may have moved its parent.
        if (inParentMenu != nullptr)
            EditItem(inParentMenu, inParentItem, "XPLMCreateMenu")->submenu = id;
    }
    Result(call, Arg::Pointer(id));
    return id;
}

XPLM_API void XPLMDestroyMenu(XPLMMenuID inMenuID) {
    RECORD("XPLMDestroyMenu", {Arg::Pointer(inMenuID)});
    hostsim::Commands& commands = H().commands;
    if (inMenuID == commands.pluginsMenu || commands.menu(inMenuID) == nullptr) {
        Misuse("XPLMDestroyMenu of a menu that does not exist or is the simulator's");
        return;
    }
    for (hostsim::Menu& m : commands.menus) {
        for (hostsim::MenuItem& item : m.items) {
            if (item.submenu == inMenuID)
                item.submenu = nullptr;
        }
    }
    Erase(commands.menus, inMenuID);
}

namespace {
int AppendItem(const char* fn, XPLMMenuID menu, const char* name, void* ref,
               XPLMCommandRef command) {
    hostsim::Menu* m = EditMenu(menu, fn);
    if (m == nullptr)
        return -1;
    hostsim::MenuItem item;
    item.name = name == nullptr ? "" : name;
    item.ref = ref;
    item.command = command;
    m->items.push_back(item);
    int index = -1;
    for (const hostsim::MenuItem& each : m->items)
        index += Indexed(each) ? 1 : 0;
    return index;
}
}  // namespace

XPLM_API int XPLMAppendMenuItem(XPLMMenuID inMenu, const char* inItemName, void* inItemRef,
                                int inDeprecatedAndIgnored) {
    Call* call =
        RECORD("XPLMAppendMenuItem", {Arg::Pointer(inMenu), Arg::Text(inItemName),
                                      Arg::Pointer(inItemRef), Arg::Int(inDeprecatedAndIgnored)});
    const int index = AppendItem("XPLMAppendMenuItem", inMenu, inItemName, inItemRef, nullptr);
    Result(call, Arg::Int(index));
    return index;
}

XPLM_API int XPLMAppendMenuItemWithCommand(XPLMMenuID inMenu, const char* inItemName,
                                           XPLMCommandRef inCommandToExecute) {
    Call* call =
        RECORD("XPLMAppendMenuItemWithCommand",
               {Arg::Pointer(inMenu), Arg::Text(inItemName), Arg::Pointer(inCommandToExecute)});
    if (H().commands.command(inCommandToExecute) == nullptr)
        Misuse("XPLMAppendMenuItemWithCommand with an unknown command");
    const int index = AppendItem("XPLMAppendMenuItemWithCommand", inMenu, inItemName, nullptr,
                                 inCommandToExecute);
    Result(call, Arg::Int(index));
    return index;
}

XPLM_API void XPLMCheckMenuItem(XPLMMenuID inMenu, int index, XPLMMenuCheck inCheck) {
    RECORD("XPLMCheckMenuItem", {Arg::Pointer(inMenu), Arg::Int(index), Arg::Int(inCheck)});
    if (hostsim::MenuItem* item = EditItem(inMenu, index, "XPLMCheckMenuItem"))
        item->check = inCheck;
}

XPLM_API void XPLMEnableMenuItem(XPLMMenuID inMenu, int index, int enabled) {
    RECORD("XPLMEnableMenuItem", {Arg::Pointer(inMenu), Arg::Int(index), Arg::Int(enabled)});
    if (hostsim::MenuItem* item = EditItem(inMenu, index, "XPLMEnableMenuItem"))
        item->enabled = enabled != 0;
}

XPLM_API void XPLMRemoveMenuItem(XPLMMenuID inMenu, int inIndex) {
    RECORD("XPLMRemoveMenuItem", {Arg::Pointer(inMenu), Arg::Int(inIndex)});
    if (MenuItem* item = EditItem(inMenu, inIndex, "XPLMRemoveMenuItem")) {
        auto& items = EditMenu(inMenu, "XPLMRemoveMenuItem")->items;
        items.erase(items.begin() + (item - items.data()));
    }
}

XPLM_API void XPLMSetMenuItemName(XPLMMenuID inMenu, int inIndex, const char* inItemName,
                                  int inDeprecatedAndIgnored) {
    RECORD("XPLMSetMenuItemName", {Arg::Pointer(inMenu), Arg::Int(inIndex), Arg::Text(inItemName),
                                   Arg::Int(inDeprecatedAndIgnored)});
    if (MenuItem* item = EditItem(inMenu, inIndex, "XPLMSetMenuItemName"))
        item->name = inItemName != nullptr ? inItemName : "";
}

XPLM_API void XPLMAppendMenuSeparator(XPLMMenuID inMenu) {
    RECORD("XPLMAppendMenuSeparator", {Arg::Pointer(inMenu)});
    if (Menu* m = EditMenu(inMenu, "XPLMAppendMenuSeparator")) {
        MenuItem line;
        line.separator = true;
        line.enabled = false;
        m->items.push_back(line);
    }
}

}  // extern "C"
