// The main window's links to the other windows (settings, run dialog, editors, about box, manual) and to
// the report writers, kept in one place so that the window itself names none of them.
#pragma once

class QWidget;

namespace velaron::result {
struct RunRequest;
}

namespace velaron::ui {

class Form1;
class Form6;

// The settings dialog, modal.
void OpenSettings(Form1& window);
// The run dialog, modal, with a prepared request; its finished run comes back through onRunFinished. The
// dialog that a refused run left loaded is shown again as it was left, with the request's main-window data.
void OpenRunDialog(Form1& window, const result::RunRequest& request);
// The run dialog of OpenRunDialog, connected to the window but not yet shown: the section it finds
// becomes the window's shown section, its run locks the window, its finished run comes back to it.
Form6* MakeRunDialog(Form1& window, const result::RunRequest& request);
// The jet-flame window "Струевой настильный факел" for the main window's hidden menu item: modeless,
// with the gases, the settings and the reference tables of the open database, the probabilities of the
// main window's last run, and its results shown in the main window (which is shown again then, and
// when the window is closed). Null when the tables cannot be read (a message has been shown then).
QWidget* MakeJetFlameWindow(Form1& window);
// The reference editors, their tables read; each shows the main window again when it is left. Null when
// the table cannot be read (a message has been shown then): such an editor is not opened.
QWidget* MakeGasEditor(Form1& window);
QWidget* MakeRegionEditor(Form1& window);
QWidget* MakeWindEditor(Form1& window);
// The user manual and the about box.
void OpenHelp(Form1& window);
void OpenAbout(Form1& window);

}  // namespace velaron::ui
