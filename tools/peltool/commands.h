// The subcommands of peltool. Each takes its own arguments (after the subcommand's name) and returns the exit
// status: 0 done, 1 failed (the reason is on stderr).
#pragma once

int packCommand(char** args);
int unpackCommand(char** args);
int decodeCommand(char** args);
int wavinfoCommand(char** args);
