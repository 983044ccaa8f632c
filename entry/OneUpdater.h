#pragma once
// One updater at a time on this computer: two would both poll the same player and could both
// write onto it. Players are seen by every session, so the mark is global, not per session.

// True when this process is now the one updater, until it ends. False when another runs: its
// window has been brought to the front, or, when it runs in another session where no window of
// this one can reach, the user has been told so.
bool BecomeTheOnlyUpdater();
