// Identifiers of the resources carried in Install.exe.
#pragma once

// String table.
#define IDS_APP_FOLDER 0        // the suite's folder name
#define IDS_PRODUCT_NAME 1      // the product name
#define IDS_DESCRIPTION 2       // the suite's description
#define IDS_LAUNCHER 4          // file name of the suite's launcher program

#define IDI_INSTALL 1           // the program icon
