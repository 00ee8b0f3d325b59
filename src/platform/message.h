// Message boxes: on this platform a message box is whatever handler the host installs.
#pragma once

#include "platform/types.h"

#include <string>

typedef void (*MessageBoxHandler)(const char* text, const char* caption);

enum : UINT { MB_OK = 0x0, MB_OKCANCEL = 0x1, MB_YESNO = 0x4, MB_ICONERROR = 0x10,
              MB_ICONWARNING = 0x30, MB_ICONINFORMATION = 0x40 };
enum : int { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

// nullptr restores the default, which writes "caption: text" to standard error.
void SetMessageBoxHandler(MessageBoxHandler handler);
MessageBoxHandler GetMessageBoxHandler();

// Shows a box on the calling thread; always answers IDOK.
int KwMessageBox(const char* text, const char* caption, UINT type = MB_OK);
int AfxMessageBox(const char* text, UINT type = MB_OK);

// Shows a box from a short-lived worker thread at idle priority. The texts are copied
// before this returns, so the caller may free them at once.
void KwMessageBoxOnWorker(const char* text, const char* caption);

// A program without a real message box (a terminal, a test) may ask for the worker-thread
// boxes to be shown on the calling thread at once, without the reporting pause.
void SetMessageBoxesSynchronous(bool bSynchronous);
bool MessageBoxesSynchronous();

// Pauses the calling thread (the framework's Sleep, in milliseconds).
void Sleep(DWORD milliseconds);

// printf into a std::string.
std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The system's temporary directory: $TMPDIR, else /tmp, without a trailing separator.
std::string GetTempDirectory();

// Appends one line to a text file (opened in append mode and closed again); false on failure.
bool AppendTextLine(const std::string& path, const std::string& line);
