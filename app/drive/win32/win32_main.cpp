// SPDX-License-Identifier: MIT
// qup-drive on Windows: runs the program's real dialog and plays a script from standard input
// on it. The script is read on a thread of its own; the program runs on the main thread.
#include "app/drive/win32/win32_driver.h"  // first: it includes windows.h as the window operations want

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <thread>

#include "app/drive/session.h"

int wmain(int argc, wchar_t* argv[]) {
  // The same bytes as on every other system: no carriage returns added to the lines printed.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  for (int i = 1; i < argc; ++i) {
    const std::wstring_view arg = argv[i];
    if (arg == L"--help" || arg == L"-h") {
      std::cout << qup::drive::Win32Driver::Help() << std::flush;
      return 0;
    }
  }
  HANDLE settled = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);
  qup::drive::Win32Driver driver(settled);

  // The reader hands one command at a time to the dialog's thread and waits until it has
  // settled, so that a command that opens a modal dialog does not hold up the next.
  std::thread reader([&] {
    qup::drive::ReadScript(std::cin, [&](int line_number, const std::string& line) {
      driver.Post(line_number, line);
      ::WaitForSingleObject(settled, INFINITE);
    });
    driver.PostEnd();
  });
  MSG message{};
  int status = 0;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  status = static_cast<int>(message.wParam);
  reader.join();
  ::CloseHandle(settled);
  return status;
}
