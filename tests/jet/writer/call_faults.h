#pragma once

// Counting wrappers for the calls the file layer writes and syncs with. A program linked
// with --wrap=pwrite,--wrap=fsync,--wrap=ftruncate,--wrap=unlink and with call_faults.cpp
// has every such call of its own code (not of shared libraries) counted and noted, and can
// have the call chosen kill the process before it happens ("kill N") or fail ("fail N":
// ENOSPC for pwrite and ftruncate, EIO for fsync and unlink).

#include <string>

// Takes "kill N" or "fail N" from argv[at] and argv[at + 1]; false when they are not there.
bool armCallFault(int argc, char** argv, int at);

// Prints what the calls did so far:
//   failed <function>   the call made to fail, "nothing" unless one was
//   calls <total>
//   trace <steps>       in order, repeats merged: "write journal, sync journal, ..."
//   starts <numbers>    the number of the first call of each step of the trace
void printCallReport();

// The calls counted so far.
long callsSoFar();
