#pragma once

class QProcess;

// Makes `process`, before it starts, a child the supervisor answers for: it
// keeps the descriptor `kept` across exec, stands in a process group of its own
// (a Ctrl+C on the terminal reaches the supervisor alone, which passes it on
// as it sees fit), and gets SIGTERM should the supervisor die first.
void SuperviseChild(QProcess& process, int kept);
