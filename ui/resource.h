// Resource ids shared by Updater.rc and the C++ sources. Plain macros with no
// Windows headers, so portable code and tests can include it.
#ifndef TOLVO_UI_RESOURCE_H
#define TOLVO_UI_RESOURCE_H

// Dialog templates and the About menu text.
#define IDD_ABOUT_DIALOG 100
#define IDS_ABOUT_MENU 101
#define IDD_UPDATER_DIALOG 102

// Icon group and logo bitmap; the logo again, drawn for 125, 150 and 200 % scale.
#define IDI_MAIN 128
#define IDB_LOGO 137
#define IDB_LOGO_125 138
#define IDB_LOGO_150 139
#define IDB_LOGO_200 140

// Controls of the updater dialog. EXIT uses the platform's IDOK (1).
#define IDC_PROGRESS 1001
#define IDC_STATUS 1002
#define IDC_CURRENT_VERSION 1005
#define IDC_TARGET_VERSION 1006
#define IDC_UPGRADE 1007
#define IDC_LOGO 1009

// System-menu command; its low four bits are zero because the system uses
// them, so handlers compare (id & 0xFFF0) with this value.
#define IDM_ABOUT 0x0010

// Static texts nobody addresses. Guarded because framework headers may
// define the same name with the same value.
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// The application manifest has no id here: it uses the platform's fixed
// CREATEPROCESS_MANIFEST_RESOURCE_ID (1) of type RT_MANIFEST (24).

#endif // TOLVO_UI_RESOURCE_H
