#pragma once

#include "core/date_time.h"

#include <array>
#include <string>
#include <vector>

namespace volmara {

// Check-box values: 0 unticked, 1 ticked, 2 greyed.
using CheckValue = int;

// Every value set.dat stores that is a plain control value. Lists that belong to the watch
// list and the response lists live in AppState; the notification window's lists live here
// because the settings file owns their storage until that window exists.
// A new record holds the values the controls have when the file is read ("Before loading"),
// taken from the key table of the settings file, the one place that names them.
struct Settings {
    Settings();

    CheckValue chkUpdate = 0;
    CheckValue chkStartUp = 0;
    CheckValue chkOnTopMonitor = 0;
    CheckValue chkNTLog = 0;
    CheckValue chkLog = 0;
    CheckValue chkAutoSave = 0;
    std::array<std::string, 2> txtAudio;
    std::string txtTime;
    std::string txtSpace;
    CheckValue chkSystray = 0;
    std::string txtDrive; // "Specified Path to Move"; the default root once start-up has checked
    std::string txtFileType;
    CheckValue chkCustTime = 0;
    std::array<DateTime, 2> DTTime1;
    DateTime DTPInterval;

    // Notification window.
    std::string txtYourEmail;
    std::string txtUser;
    std::string txtPass;
    std::string txtMailServer;
    std::string txtMailSubj;
    std::string txtMailFromDisplayName;
    std::vector<std::string> cboNotEmail;
    std::array<bool, 10> lstNotContent{};
    std::array<bool, 5> lstNotTime{};
    std::string txtCustMsg;
    std::string txtCustomContent;
    std::string txtCustEvtAmt;
    DateTime DTPicker1;
    DateTime DTPicker2;
    std::string txtProxy;
    std::string txtPort;
    CheckValue chkIsHTML = 0;
    CheckValue chkProxy = 0;
};

} // namespace volmara
