#include "notify/mail_port_file.h"

#include "core/app_state.h"
#include "core/extra_file.h"

namespace volmara {

void loadMailPort(AppState& app)
{
    const auto path = extraFileName(app.settingsPath);
    if (!app.sv.files.fileExists(path))
        return;
    const auto text = app.sv.files.readFile(path);
    if (!text)
        return;
    const auto extra = parseExtraText(*text);
    if (!extra.mailPort.empty())
        app.frmNotify.setText(NotifyText::txtMailPort, extra.mailPort);
}

void saveMailPort(AppState& app)
{
    // Closed before start-up loaded the port: the stored one is still the right one.
    if (!app.frmNotify.loaded())
        return;
    const auto path = extraFileName(app.settingsPath);
    ExtraData extra;
    if (app.sv.files.fileExists(path)) {
        const auto text = app.sv.files.readFile(path);
        // What cannot be read is not replaced: its lists would be lost.
        if (!text)
            return;
        extra = parseExtraText(*text);
    }
    const auto& port = app.frmNotify.text(NotifyText::txtMailPort);
    if (extra.mailPort == port && app.sv.files.fileExists(path))
        return;
    extra.mailPort = port;
    app.sv.files.replaceFile(path, extraText(extra), Files::Privacy::OwnerOnly);
}

} // namespace volmara
