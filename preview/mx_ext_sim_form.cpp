#include "preview/mx_ext_sim_form.h"

#include <charconv>
#include <string>

#include "platform/controls/message_box.h"
#include "preview/previews.h"
#include "preview/sim_stream.h"

namespace kavrel {

std::optional<int32_t> parsePort(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    if (text.empty() || text.size() > 5) return std::nullopt;
    int32_t port = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), port);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (port < 1 || port > 65535) return std::nullopt;
    return port;
}

MxExtSimForm::MxExtSimForm(platform::Desktop& desktop, Previews& previews)
    : Window(desktop, "MxExtSimForm"), previews_(previews) {
    layoutControls();
    ConnectB.onClick = [this] { ConnectB_Click(); };
    CloseB.onClick = [this] { CloseB_Click(); };
}

void MxExtSimForm::layoutControls() {
    // Twips; the client area is 3840 x 1620 inside the frame and caption.
    setCaption("Network connection");
    setWidth(3840 + 8 * platform::kTwipsPerPixel);
    setHeight(1620 + 30 * platform::kTwipsPerPixel);
    Label1.move(120, 120, 2292, 252);
    Label1.setCaption("Hostname or IP-Address : ");
    myHostText.move(2400, 120, 1332, 288);
    myHostText.setText("localhost");
    Label2.move(1680, 600, 612, 252);
    Label2.setCaption("Port : ");
    myPortText.move(2400, 600, 852, 288);
    myPortText.setText("57123");
    connection.move(3360, 600, 252, 252);
    connection.setBackColor(platform::rgb(255, 128, 128));
    CloseB.move(120, 1080, 1332, 372);
    CloseB.setCaption("Close");
    ConnectB.move(2400, 1080, 1332, 372);
    ConnectB.setCaption("Connect");
}

void MxExtSimForm::ConnectB_Click() {
    SharedState& s = previews_.state();
    platform::Winsock& sock = previews_.host().socket;
    if (ConnectB.Caption() != "Connect") {
        previews_.linkDown();
        return;
    }
    sock.setRemoteHost(myHostText.Text());
    const std::optional<int32_t> port = parsePort(myPortText.Text());
    // A socket left from an earlier try starts afresh.
    sock.Close();
    bool started = false;
    if (port) {
        sock.setRemotePort(*port);
        started = sock.Connect();
    }
    previews_.boxes().MsgBox(std::to_string(sock.State()), platform::vbOKOnly, "Kavrel");
    const int16_t state = sock.State();
    if (started && state > 2 && state < 8) {
        ConnectB.setCaption("Disconnect");
        connection.setBackColor(s.colorGreen);
        previews_.host().networkActive.setForeColor(s.colorGreen);
        s.extSimConnected = true;
        // A simulator that connects gets the whole current frame at the next tick.
        markAllUnsent(s.extSimSent, s.gridCols(), s.gridRows());
        s.dirtySim = true;
    } else {
        previews_.linkDown();
    }
}

void MxExtSimForm::CloseB_Click() {
    if (!previews_.state().extSimConnected) previews_.host().networkActive.setValue(0);
    Hide();
}

void MxExtSimForm::Form_QueryUnload(int& cancel, int unloadMode) {
    // The close box acts as Close: the window stays, with its live state.
    if (unloadMode != platform::kUnloadFromCloseBox) return;
    cancel = 1;
    CloseB_Click();
}

}  // namespace kavrel
