#pragma once
// The main dialog over a small in-memory machine:
//
//   C:  pagefile.sys 5 MB, Windows\win.ini 1 MB, Windows\System32\big.dll 3 MB,
//       Data\My Photos\a.jpg 2 MB
//   D:  Games\game.dat 1 GB
//   E:  removable, never scanned

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/win32/AmbrellDlg.h"
#include "res/resource.h"
#include "tests/app/win32/DialogTestSupport.h"
#include "tests/protocol/ScanProtocol.h"

constexpr std::uint64_t kMB = 1024 * 1024;

class MainDialogTest : public ::testing::Test {
 protected:
  MainDialogTest() { AddProtocolMachine(*fileSystem); }

  ~MainDialogTest() override {
    // A test that failed while the worker was held must not leave it held.
    fileSystem->GetGate().Release();
    dialog.reset();
  }

  void Open(std::size_t batchSize = 1000) {
    dialog = std::make_unique<CAmbrellDlg>(TestServices(fileSystem, processes, batchSize));
    ASSERT_TRUE(dialog->Create());
  }

  void OpenAndScan() {
    Open();
    WaitForIdle();
  }

  void WaitForIdle() {
    ASSERT_TRUE(PumpUntil([this] { return dialog->GetScanThread() == nullptr; }));
  }

  HWND Item(int id) const { return GetDlgItem(dialog->GetSafeHwnd(), id); }
  std::string ButtonText() const { return WindowText(Item(IDC_REFRESH)); }
  bool IsEnabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }
  std::string Labels() const { return DumpLabels(dialog->GetTree()); }

  void Click(int id) {
    SendMessageA(dialog->GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(Item(id)));
  }

  void PickUnit(int unit) {
    SendMessageA(Item(IDC_UNITS), CB_SETCURSEL, static_cast<WPARAM>(unit), 0);
    SendMessageA(dialog->GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDC_UNITS, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(Item(IDC_UNITS)));
  }

  std::shared_ptr<MemoryFileSystem> fileSystem = std::make_shared<MemoryFileSystem>();
  std::shared_ptr<RecordedProcesses> processes = std::make_shared<RecordedProcesses>();
  std::unique_ptr<CAmbrellDlg> dialog;
};
