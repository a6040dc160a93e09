#pragma once

namespace platform {

// Sets SQLite up for a program that opens a fresh connection for every recordset and every
// statement, before the library is first used; later calls, and calls made after something
// else has started the library, change nothing but what needs no restart.
//  * Pages are kept in one block that lives as long as the process: a connection's page
//    cache takes its pages from it and gives them back when it closes, so the next
//    connection reuses memory already mapped instead of the C library handing it back to
//    the system and faulting it in again.
//  * No memory statistics: every allocation of every connection would take a lock for them.
//  * Opening a file never waits: a FIFO or a device put where the store was opens without
//    blocking and then fails to read, instead of holding the window up for good.
void prepareSqlite();

} // namespace platform
