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
    // Runs the OK of every visible editor that the edit buttons confirm.
    void confirmVisible();
    // Hides every shown window that Closeall hides.
    void hideForCloseall();
    // Editors watch their entry: after a bank's current entry changed (a list
    // click, a clear), an editor whose entry is no longer current hides.
    void addEntryWatch(std::function<void()> watch) { watches_.push_back(std::move(watch)); }
    void entriesChanged();

  private:
    std::vector<EditorHook> hooks_;
    std::vector<std::function<void()>> watches_;
};

}  // namespace kavrel
