#include "actions/panel.h"

#include "actions/panelactions.h"
#include "link/stationlink.h"
#include "window/main.h"

std::unique_ptr<Main> createPanel(quint16 stationPort)
{
    auto window = std::make_unique<Main>();
    // The window owns its link and its actions, as it owns its controls.
    auto *link = new StationLink(window.get());
    new PanelActions(window.get(), link, stationPort);
    return window;
}
