// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

namespace dpx {

// One line of a telephone script (--sim-script): actions on the simulated telephone and
// expectations on what DPX mirrors.
struct ScriptCommand {
    enum Kind {
        Wait,         // wait MS
        Plug,         // plug
        Unplug,       // unplug
        Event,        // event CODE VALUE [CODE VALUE [CODE VALUE]]
        Ring,         // ring co|icm NUMBER
        HangUp,       // hangup
        Display,      // display 1|2 "TEXT"   (the telephone writes a display line)
        Lamp,         // lamp N STATE          (the telephone sets a lamp)
        Press,        // press KEYNUMBER
        ExpectLcd,    // expect lcd1|lcd2 "TEXT"
        ExpectLamp,   // expect lamp N STATE
        ExpectStatus, // expect status "TEXT"
        ExpectSent,   // expect sent HEXPREFIX
        ExpectMessage, // expect message "TEXT"   (the last message shown to the user)
        ExpectCaller, // expect caller "TEXT"   (the name on the caller popup, "—" for none)
        ExpectAlert,  // expect alert on|off    (the caller alert: popup and flashing icon)
        Dial,         // dial "REQUEST"        (as a tel: link or --dial handed to DPX)
        Screenshot,   // screenshot FILE
        OpenWindow,       // open NAME               (a tool window, see toolWindowNames())
        ScreenshotWindow, // screenshot-window NAME FILE
        ExpectCard,       // expect card NAME|none   (the name the open caller card shows)
        Load,         // load SLOT FILE          (the transfer window loads FILE into slot 0..5)
        Factory,      // factory                 (the transfer window's factory default, confirmed)
        Cancel,       // cancel                  (the transfer window's 取消)
        Fault,        // fault drop|late|pull|corrupt N, fault erase|flip (one-shot box faults)
        ExpectSlot,   // expect slot N FILE|empty (after the transfer: what slot N holds)
        Quit,         // quit
        Handset,      // handset NUMBER        (dialled on the handset; the call connects)
        Connect,      // connect               (the far end answers: the call timer shows)
        ExpectHistoryCount, // expect history-count N
        ExpectMissedCount,  // expect missed-count N
        ExpectLastCall,     // expect last-call RESULT NUMBER
        SetAction,          // set-action WHEN KIND "TEMPLATE"  (for this run only)
        ExpectActionCount,  // expect action-count N             (actions taken since the start)
        Record,             // record                  (presses the record button)
        ExpectRecording,    // expect recording on|off
        AnswerSave,         // answer-save PATH|cancel (the answer of the next save dialog)
    };
    Kind kind = Quit;
    int line = 0;          // line number in the script, from 1
    QList<int> numbers;    // wait time, event bytes, key number, line or lamp number, tool window,
                           // action moment and kind
    QString text;          // quoted text, file name, number to ring, hex prefix, lamp state
    bool flag = false;     // ring: outside line (co) rather than intercom; expect alert,
                           // expect recording: on; answer-save: cancel
};

struct ParsedScript {
    QList<ScriptCommand> commands;
    QString error; // "line N: ..." for every line that could not be read, one a line
};

ParsedScript parseSimScript(const QString &text);

} // namespace dpx
