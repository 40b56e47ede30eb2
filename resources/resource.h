// Resource identifiers of the runner.
#pragma once

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_ZUNRUN_DIALOG 102
#define IDR_MAINFRAME 128
#define IDC_OUTPUT 1000
#define IDC_STATUS 1001
#define IDM_ABOUTBOX 0x0010
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
