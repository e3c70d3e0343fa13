#pragma once
// What zrnctl needs of the operating system beyond the link: the terminal
// test for progress lines.

namespace zrnctl {

bool StderrIsTerminal();

} // namespace zrnctl
