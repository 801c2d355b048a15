#pragma once
// Resources of road_host.exe (road_host.rc): its main dialog with the portal's place.
#define IDD_ROAD_HOST 300
#define IDC_ROAD_PORTAL 1010
