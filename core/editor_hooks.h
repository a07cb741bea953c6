#pragma once
// The effect editors and the colour mixer as the main window reaches them:
// the edit buttons confirm the visible editors first, and Closeall hides
// them. Each editor registers itself when it is built.
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
    void add(EditorHook hook) { hooks_.push_back(std::move(hook)); }
    // An editor's check that hides it (and the windows it opened) when the
    // entry it works on is no longer its bank's current entry of its type.
    void addStaleCheck(std::function<void()> check) { staleChecks_.push_back(std::move(check)); }
    // Runs the OK of every visible editor that the edit buttons confirm.
    void confirmVisible();
    // Hides every shown window that Closeall hides.
    void hideForCloseall();
    // Lets every editor check its entry after a list click, a removal, a
    // paste, a type change, a project load or a clear.
    void hideStale();

  private:
    std::vector<EditorHook> hooks_;
    std::vector<std::function<void()>> staleChecks_;
};

}  // namespace kavrel
