// Ids of the saver's dialogs, their controls and the strings they show. Shared by the resource
// script and the code, so plain macros.
#pragma once

// Configuration dialog.
#define IDD_CONFIGURATION 106
#define IDC_DISPLAY_SETTINGS 1006
#define IDC_SOUND_SETTINGS 1007
#define IDC_WEBSITE 1017
#define IDC_PICTURE_POSITION 1023

// Sound settings dialog. There is deliberately no balance control in it.
#define IDD_SOUND_SETTINGS 2214
#define IDC_BALANCE 1002
#define IDC_VOLUME 1021
#define IDC_MUTE 1022

// Display settings dialogs: one adapter, several adapters.
#define IDD_DISPLAY_ONE_ADAPTER 200
#define IDD_DISPLAY_SEVERAL_ADAPTERS 201
#define IDC_MONITOR_TABS 2000
#define IDC_MONITOR_TAB_FORMAT 2001
#define IDC_ADAPTER_NAME 2002
#define IDC_RENDERING_TEXT 2003
#define IDC_DISPLAY_HELP 2004
#define IDC_DISABLE_HARDWARE 2005
#define IDC_MONITOR_USAGE_GROUP 2006
#define IDC_SHOW_SAVER 2007
#define IDC_LEAVE_BLACK 2008
#define IDC_DISPLAY_MODE_GROUP 2009
#define IDC_DISPLAY_MODE_LABEL 2010
#define IDC_DISPLAY_MODE 2011
#define IDC_AUTOMATIC_TEXT 2012
#define IDC_DISPLAY_MODE_NOTE 2013
#define IDC_DUAL_MONITOR_GROUP 2014
#define IDC_ALL_SCREENS_SAME 2015
#define IDC_MODE_FORMAT 2016

// Help texts of the display settings dialogs, chosen by what the adapter offers.
#define IDS_HELP_HAL 2200
#define IDS_HELP_HAL_LACKS_FEATURES_SW 2201
#define IDS_HELP_HAL_LACKS_FEATURES_SW_UNUSABLE 2202
#define IDS_HELP_HAL_LACKS_FEATURES_NO_SW 2203
#define IDS_HELP_NO_HAL_SW 2204
#define IDS_HELP_NO_HAL_SW_UNUSABLE 2205
#define IDS_HELP_NO_HAL_NO_SW 2206
#define IDS_HELP_HAL_DISABLED_SW 2207
#define IDS_HELP_HAL_DISABLED_SW_UNUSABLE 2208
#define IDS_HELP_HAL_DISABLED_NO_SW 2209
#define IDS_RENDERING_HARDWARE 2210
#define IDS_RENDERING_SOFTWARE 2211
#define IDS_RENDERING_NONE 2212
