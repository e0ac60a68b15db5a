#pragma once

/** Lets the Standalone program end by SIGINT (a terminal's Ctrl-C) or SIGTERM (how a desktop
    ends programs at logout, and kill's default) as it ends by its close button: through the
    application's own quit request, which saves the plug-in's state and the settings file.
    Left to themselves, SIGTERM ends the process at once and the framework's SIGINT handler
    quits without saving the plug-in's state.

    The signal handler only writes a byte to a pipe; the message thread watches the pipe and
    makes the request. Process-wide, installed once (later calls do nothing), on the message
    thread; only a Standalone program installs it. */
class StandaloneQuitSignals
{
public:
    static void install();
};
