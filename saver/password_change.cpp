#include "saver/saver_shell.h"

// Placeholder until the password change lands.
void CSaverShell::RunPasswordChange() {}
