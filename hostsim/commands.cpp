// Commands, command buttons and menus, as the simulator runs them.
#include <cctype>

#include "internal.h"

namespace hostsim {

using namespace internal;

// ---- Commands ----

XPLMCommandRef Host::createCommand(const char* name, const char* description) {
    if (name == nullptr || *name == '\0') {
        misuse("XPLMCreateCommand without a name");
        return nullptr;
    }
    if (XPLMCommandRef existing = findCommand(name))
        return existing;
    auto command = std::make_unique<Command>();
    command->name = name;
    command->description = description == nullptr ? "" : description;
    commands_.push_back(std::move(command));
    return commands_.back().get();
}

XPLMCommandRef Host::findCommand(const std::string& name) const {
    for (const auto& c : commands_) {
        if (c->name == name)
            return c.get();
    }
    return nullptr;
}

const Command* Host::command(XPLMCommandRef ref) const {
    for (const auto& c : commands_) {
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

void Host::addCommandHandler(const CommandHandler& handler) {
    if (command(handler.command) == nullptr || handler.callback == nullptr) {
        misuse("XPLMRegisterCommandHandler for an unknown command or without a callback");
        return;
    }
    handlers_.push_back(handler);
}

void Host::removeCommandHandler(const CommandHandler& handler) {
    for (auto it = handlers_.begin(); it != handlers_.end(); ++it) {
        if (Same(*it, handler)) {
            handlers_.erase(it);
            return;
        }
    }
    misuse(
        "XPLMUnregisterCommandHandler that matches no registration in command, callback, "
        "before flag and refcon");
}

void Host::runCommand(XPLMCommandRef ref, XPLMCommandPhase phase) {
    if (!pluginEnabled)
        return;
    // Handlers may come and go inside a callback: walk a copy, skipping any that went away.
    const std::vector<CommandHandler> handlers = handlers_;
    for (int pass = 0; pass < 2; ++pass) {
        const bool before = pass == 0;
        for (const CommandHandler& h : handlers) {
            if (h.command != ref || (h.before != 0) != before)
                continue;
            const bool live = std::any_of(handlers_.begin(), handlers_.end(),
                                          [&h](const CommandHandler& c) { return Same(c, h); });
            if (live && h.callback(ref, phase, h.refcon) == 0 && before)
                return;  // the simulator's own handling and the after-handlers are skipped
        }
    }
}

void Host::commandBegin(XPLMCommandRef ref) {
    Command* c = const_cast<Command*>(command(ref));
    if (c == nullptr) {
        misuse("XPLMCommandBegin of an unknown command");
        return;
    }
    ++c->held;
    runCommand(ref, xplm_CommandBegin);
}

void Host::commandEnd(XPLMCommandRef ref) {
    Command* c = const_cast<Command*>(command(ref));
    if (c == nullptr || c->held == 0) {
        misuse("XPLMCommandEnd of a command that was not begun");
        return;
    }
    --c->held;
    runCommand(ref, xplm_CommandEnd);
}

void Host::commandOnce(XPLMCommandRef ref) {
    commandBegin(ref);
    if (command(ref) != nullptr)
        commandEnd(ref);
}

void Host::commandFrame() {
    std::vector<XPLMCommandRef> held;
    for (const auto& c : commands_) {
        if (c->held > 0)
            held.push_back(c.get());
    }
    for (XPLMCommandRef ref : held)
        runCommand(ref, xplm_CommandContinue);
}

// ---- Menus ----

const Menu* Host::menu(XPLMMenuID id) const {
    for (const Menu& m : menus_) {
        if (m.id == id)
            return &m;
    }
    return nullptr;
}

Menu* Host::editMenu(XPLMMenuID id, const char* fn) {
    Menu* m = const_cast<Menu*>(menu(id));
    if (m == nullptr)
        misuse(std::string(fn) + " on a menu that does not exist");
    return m;
}

MenuItem* Host::editItem(XPLMMenuID id, int index, const char* fn) {
    Menu* m = editMenu(id, fn);
    if (m == nullptr)
        return nullptr;
    if (index < 0 || static_cast<size_t>(index) >= m->items.size()) {
        misuse(std::string(fn) + " with item index " + std::to_string(index) + " out of range");
        return nullptr;
    }
    return &m->items[static_cast<size_t>(index)];
}

XPLMMenuID Host::addMenu(const Menu& m) {
    if (m.name.empty()) {
        misuse("XPLMCreateMenu without a name");
        return nullptr;
    }
    if (m.parent != nullptr && editItem(m.parent, m.parentItem, "XPLMCreateMenu") == nullptr)
        return nullptr;
    XPLMMenuID id = Add(menus_, m, nextId_);
    // Looked up again: adding the menu may have moved its parent.
    if (m.parent != nullptr)
        editItem(m.parent, m.parentItem, "XPLMCreateMenu")->submenu = id;
    return id;
}

void Host::removeMenu(XPLMMenuID id) {
    if (id == pluginsMenu_ || menu(id) == nullptr) {
        misuse("XPLMDestroyMenu of a menu that does not exist or is the simulator's");
        return;
    }
    for (Menu& m : menus_) {
        for (MenuItem& item : m.items) {
            if (item.submenu == id)
                item.submenu = nullptr;
        }
    }
    Erase(menus_, id);
}

const MenuItem* Host::findMenuItem(const std::string& name, const Menu** holder) const {
    for (const Menu& m : menus_) {
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

bool Host::pickMenuItem(const std::string& name) {
    const Menu* m = nullptr;
    const MenuItem* item = findMenuItem(name, &m);
    if (item == nullptr || !item->enabled)
        return false;
    if (item->command == nullptr && !pluginEnabled)
        return true;
    if (item->command != nullptr) {
        commandOnce(item->command);
    } else if (m->handler != nullptr) {
        m->handler(m->ref, item->ref);
    }
    return true;
}

}  // namespace hostsim

using namespace hostsim;
using namespace hostsim::internal;

extern "C" {

XPLM_API void XPLMCommandButtonPress(XPLMCommandButtonID inButton) {
    RECORD("XPLMCommandButtonPress", {Arg::Int(inButton)});
    H().buttonsDown.push_back(inButton);
}

XPLM_API void XPLMCommandButtonRelease(XPLMCommandButtonID inButton) {
    RECORD("XPLMCommandButtonRelease", {Arg::Int(inButton)});
    auto& down = H().buttonsDown;
    for (auto it = down.begin(); it != down.end(); ++it) {
        if (*it == inButton) {
            down.erase(it);
            break;
        }
    }
}

XPLM_API XPLMCommandRef XPLMFindCommand(const char* inName) {
    Call* call = RECORD("XPLMFindCommand", {Arg::Text(inName)});
    XPLMCommandRef ref = inName == nullptr ? nullptr : H().findCommand(inName);
    Result(call, Arg::Pointer(ref));
    return ref;
}

XPLM_API void XPLMCommandBegin(XPLMCommandRef inCommand) {
    RECORD("XPLMCommandBegin", {Arg::Pointer(inCommand)});
    H().commandBegin(inCommand);
}

XPLM_API void XPLMCommandEnd(XPLMCommandRef inCommand) {
    RECORD("XPLMCommandEnd", {Arg::Pointer(inCommand)});
    H().commandEnd(inCommand);
}

XPLM_API void XPLMCommandOnce(XPLMCommandRef inCommand) {
    RECORD("XPLMCommandOnce", {Arg::Pointer(inCommand)});
    H().commandOnce(inCommand);
}

XPLM_API XPLMCommandRef XPLMCreateCommand(const char* inName, const char* inDescription) {
    Call* call = RECORD("XPLMCreateCommand", {Arg::Text(inName), Arg::Text(inDescription)});
    XPLMCommandRef ref = H().createCommand(inName, inDescription);
    Result(call, Arg::Pointer(ref));
    return ref;
}

XPLM_API void XPLMRegisterCommandHandler(XPLMCommandRef inComand, XPLMCommandCallback_f inHandler,
                                         int inBefore, void* inRefcon) {
    RECORD("XPLMRegisterCommandHandler",
           {Arg::Pointer(inComand), Fn(inHandler), Arg::Int(inBefore), Arg::Pointer(inRefcon)});
    H().addCommandHandler({inComand, inHandler, inBefore, inRefcon});
}

XPLM_API void XPLMUnregisterCommandHandler(XPLMCommandRef inComand, XPLMCommandCallback_f inHandler,
                                           int inBefore, void* inRefcon) {
    RECORD("XPLMUnregisterCommandHandler",
           {Arg::Pointer(inComand), Fn(inHandler), Arg::Int(inBefore), Arg::Pointer(inRefcon)});
    H().removeCommandHandler({inComand, inHandler, inBefore, inRefcon});
}

XPLM_API XPLMMenuID XPLMFindPluginsMenu(void) {
    Call* call = RECORD("XPLMFindPluginsMenu", {});
    Result(call, Arg::Pointer(H().pluginsMenu()));
    return H().pluginsMenu();
}

XPLM_API XPLMMenuID XPLMCreateMenu(const char* inName, XPLMMenuID inParentMenu, int inParentItem,
                                   XPLMMenuHandler_f inHandler, void* inMenuRef) {
    Call* call =
        RECORD("XPLMCreateMenu", {Arg::Text(inName), Arg::Pointer(inParentMenu),
                                  Arg::Int(inParentItem), Fn(inHandler), Arg::Pointer(inMenuRef)});
    hostsim::Menu m;
    m.name = inName == nullptr ? "" : inName;
    m.parent = inParentMenu;
    m.parentItem = inParentItem;
    m.handler = inHandler;
    m.ref = inMenuRef;
    XPLMMenuID id = H().addMenu(m);
    Result(call, Arg::Pointer(id));
    return id;
}

XPLM_API void XPLMDestroyMenu(XPLMMenuID inMenuID) {
    RECORD("XPLMDestroyMenu", {Arg::Pointer(inMenuID)});
    H().removeMenu(inMenuID);
}

namespace {
int AppendItem(const char* fn, XPLMMenuID menu, const char* name, void* ref,
               XPLMCommandRef command) {
    hostsim::Menu* m = H().editMenu(menu, fn);
    if (m == nullptr)
        return -1;
    hostsim::MenuItem item;
    item.name = name == nullptr ? "" : name;
    item.ref = ref;
    item.command = command;
    m->items.push_back(item);
    return static_cast<int>(m->items.size()) - 1;
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
    if (H().command(inCommandToExecute) == nullptr)
        H().misuse("XPLMAppendMenuItemWithCommand with an unknown command");
    const int index = AppendItem("XPLMAppendMenuItemWithCommand", inMenu, inItemName, nullptr,
                                 inCommandToExecute);
    Result(call, Arg::Int(index));
    return index;
}

XPLM_API void XPLMCheckMenuItem(XPLMMenuID inMenu, int index, XPLMMenuCheck inCheck) {
    RECORD("XPLMCheckMenuItem", {Arg::Pointer(inMenu), Arg::Int(index), Arg::Int(inCheck)});
    if (hostsim::MenuItem* item = H().editItem(inMenu, index, "XPLMCheckMenuItem"))
        item->check = inCheck;
}

XPLM_API void XPLMCheckMenuItemState(XPLMMenuID inMenu, int index, XPLMMenuCheck* outCheck) {
    RECORD("XPLMCheckMenuItemState", {Arg::Pointer(inMenu), Arg::Int(index)});
    hostsim::MenuItem* item = H().editItem(inMenu, index, "XPLMCheckMenuItemState");
    if (item != nullptr && outCheck != nullptr)
        *outCheck = item->check;
}

XPLM_API void XPLMEnableMenuItem(XPLMMenuID inMenu, int index, int enabled) {
    RECORD("XPLMEnableMenuItem", {Arg::Pointer(inMenu), Arg::Int(index), Arg::Int(enabled)});
    if (hostsim::MenuItem* item = H().editItem(inMenu, index, "XPLMEnableMenuItem"))
        item->enabled = enabled != 0;
}

XPLM_API void XPLMRemoveMenuItem(XPLMMenuID inMenu, int inIndex) {
    RECORD("XPLMRemoveMenuItem", {Arg::Pointer(inMenu), Arg::Int(inIndex)});
    if (H().editItem(inMenu, inIndex, "XPLMRemoveMenuItem") != nullptr) {
        auto& items = H().editMenu(inMenu, "XPLMRemoveMenuItem")->items;
        items.erase(items.begin() + inIndex);
    }
}

}  // extern "C"
