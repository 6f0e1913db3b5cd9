// Splitting the process command line into arguments.
#pragma once
#include "launcher/AnsiText.h"
#include "launcher/ArgumentList.h"

// Appends the arguments of commandLine (program name first, which is dropped)
// to list. Only the blank (0x20) separates; a double quote matters only at
// the start of an argument; there are no escapes. Leading and trailing white
// space as classified by isSpace is removed first.
void splitCommandLineText(const char* commandLine, ArgumentList& list,
                          NextCharFn next = nextAnsiChar, IsSpaceFn isSpace = isAnsiSpace);

// Splits the process command line (GetCommandLineA) into list. Windows only.
void splitCommandLine(ArgumentList& list);
