#pragma once
// The owner of a plug-in instance's main window: made once per instance,
// it holds the window's slot (the window is made and loaded on first access)
// and is the instance's link to it.
#include <cstdint>

#include "core/main_window_link.h"
#include "platform/windows/desktop.h"

namespace kavrel {

class Kavrel;
class MatrixForm;
class MxCommonDialog;

class MainWindow : public MainWindowLink {
  public:
    explicit MainWindow(Kavrel& kavrel);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // The window, made and loaded when it is not.
    MatrixForm& form();
    // The window while it is loaded, else null; never loads it.
    MatrixForm* loadedForm();

    platform::Window* loadedWindow() override;
    BankContext* bank(BankId id) override;
    uint32_t fadeColor() override;
    void beatStep(BankId id) override;

  private:
    Kavrel& kavrel_;
    // The project dialogs' form outlives main-window reloads, keeping the
    // last chosen file.
    platform::FormSlot<MxCommonDialog> dialogSlot_;
    platform::FormSlot<MatrixForm> slot_;
};

}  // namespace kavrel
