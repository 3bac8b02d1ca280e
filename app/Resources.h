// Resource IDs of page.exe, shared by page.rc and the code.
#pragma once

#define kPageIcon 1
