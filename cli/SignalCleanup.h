// Signals that end the batch tool (Ctrl+C, kill, a closed terminal) remove
// the temporary file of a derived-file write in progress before the process
// ends, so no partial file stays behind.
#pragma once

// Installs the handlers for SIGINT, SIGTERM and SIGHUP, and ignores SIGXFSZ
// and SIGPIPE so that a file-size limit, or a reader of the standard output
// that has gone away, fails the write with a message and exit code 1 instead
// of killing the process.
void InstallSignalCleanup();
