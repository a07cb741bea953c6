#pragma once
// The effect editors and the colour mixer as the main window reaches them:
// the edit buttons confirm the visible editors first, Closeall hides them,
// and a change of a bank's current entry lets each editor check that its
// entry is still current. An editor registers when it is built and stays
// registered while the registration it was given is kept: a module that goes
// (replaced, or the instance ending) leaves nothing behind that points at it.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace platform {
class Window;
}

namespace kavrel {

struct EditorHook {
    std::string name;
    // The window if it exists, without creating it.
    std::function<platform::Window*()> peek;
    // The editor's public OK; empty for a window without one.
    std::function<void()> ok;
    bool confirmedByEdit = true;
    bool hiddenByCloseall = true;
};

class EditorHooks {
  public:
    // Keeps a hook or watch registered; dropping it unregisters. Must not
    // outlive the EditorHooks it came from.
    class Registration {
      public:
        Registration() = default;
        Registration(EditorHooks* hooks, uint64_t id) : hooks_(hooks), id_(id) {}
        ~Registration() { release(); }
        Registration(Registration&& o) noexcept : hooks_(o.hooks_), id_(o.id_) {
            o.hooks_ = nullptr;
        }
        Registration& operator=(Registration&& o) noexcept {
            if (this != &o) {
                release();
                hooks_ = o.hooks_;
                id_ = o.id_;
                o.hooks_ = nullptr;
            }
            return *this;
        }
        Registration(const Registration&) = delete;
        Registration& operator=(const Registration&) = delete;

      private:
        void release() {
            if (hooks_ != nullptr) hooks_->remove(id_);
            hooks_ = nullptr;
        }
        EditorHooks* hooks_ = nullptr;
        uint64_t id_ = 0;
    };

    [[nodiscard]] Registration add(EditorHook hook);
    // Runs the OK of every visible editor that the edit buttons confirm.
    void confirmVisible();
    // Hides every shown window that Closeall hides.
    void hideForCloseall();
    // Editors watch their entry: after a bank's current entry changed (a list
    // click, a clear), an editor whose entry is no longer current hides.
    [[nodiscard]] Registration addEntryWatch(std::function<void()> watch);
    void entriesChanged();

  private:
    struct Hook {
        uint64_t id;
        EditorHook hook;
    };
    struct Watch {
        uint64_t id;
        std::function<void()> run;
    };
    void remove(uint64_t id);
    bool registered(uint64_t id) const;

    std::vector<Hook> hooks_;
    std::vector<Watch> watches_;
    uint64_t nextId_ = 1;
};

}  // namespace kavrel
