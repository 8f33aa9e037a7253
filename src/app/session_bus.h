// The session bus, asked before the application object is made. Qt connects to it on the first window (the
// menu bar's look for a global menu, accessibility) and waits for its answer without a time limit: a bus that
// takes the connection and never answers, or falls silent in the middle of the handshake (its daemon stopped, a
// stray socket in its place), would hold the start for ever.
#pragma once

#include <QString>

namespace velaron::app {

// How long the session bus may take to answer the start.
inline constexpr int kSessionBusAnswerMs = 2000;

// Whether the session bus that the bus library would use (DBUS_SESSION_BUS_ADDRESS, else the user's bus in
// XDG_RUNTIME_DIR) goes through a connection's whole handshake and replies to the bus's Hello within `waitMs`, asked
// on the calling thread with no other, on a connection of its own. True as well when no bus takes the connection,
// when the bus refuses or breaks off the connection, or when the address is of a kind not asked here (the bus
// library then finds out at once for itself); false only when a bus took the connection and fell silent before its
// reply to Hello. A bus that falls silent after that reply is not seen here.
bool SessionBusAnswers(int waitMs);

// When the session bus does not answer within kSessionBusAnswerMs, replaces its address for this process with one
// that the bus library refuses at once, so that Qt goes on without the bus (without accessibility and a global
// menu), and returns the note for the user that says so; empty when the bus answered. Call it before the
// application object is made.
QString LeaveOutSilentSessionBus();

}  // namespace velaron::app
