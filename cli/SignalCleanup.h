// Signals that end the batch tool (Ctrl+C, kill, a closed terminal) remove
// the temporary file of a derived-file write in progress before the process
// ends, so no partial file stays behind.
#pragma once

// Installs the handlers for SIGINT, SIGTERM and SIGHUP, and ignores SIGXFSZ so
// that a file-size limit fails the write with a message instead of killing
// the process.
void InstallSignalCleanup();
