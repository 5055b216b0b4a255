#pragma once
// Waiting on the GUI thread for a worker that may itself be waiting for the
// GUI thread: messages the worker sends are carried out during the wait, and
// nothing else is (no input, no posted message), so the waiting thread acts on
// nothing the user did meanwhile.

#include <windows.h>

// True when object was signalled within timeoutMs (INFINITE: no limit).
bool WaitServingSentMessages(HANDLE object, DWORD timeoutMs);
