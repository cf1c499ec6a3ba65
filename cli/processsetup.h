#pragma once

// How quorvex-fade sets up its process before Qt starts, where platforms differ.

// Qt's messages go to standard error, and a fatal one ends the process with
// status 1: never a dialog or an abort that waits for someone to press OK.
void reportQtMessagesOnStandardError();

// A pipe whose reader has gone and a file-size limit make a write fail
// (EPIPE, EFBIG) instead of killing the process (SIGPIPE, SIGXFSZ), so that
// the exit status says which write failed; children get the default back.
void reportWriteFailuresAsErrors();

// The Qt platform a preview draws on when the user chose none: off-screen
// where that finds the system's fonts (no display needed, none opened); on
// Windows the platform's own, since the off-screen one finds no fonts there.
// Null: Qt's default.
const char *previewPlatform();
