#pragma once
// The operations of the phone modes, one set per mode, gathered in the mode
// table. Slots a mode does not use hold the shared no-op operations.

namespace modes {

void NoModeInit();
void NoModeProc(unsigned key);
void NoModeExit();
void NoModeDisplay();

void Mode_Main_Proc(unsigned key);
void Mode_Main_Display();
void Mode_ContactList_Init();
void Mode_ContactList_Proc(unsigned key);
void Mode_ContactList_Display();
void Mode_Ringing_Init();
void Mode_Ringing_Proc(unsigned key);
void Mode_Ringing_Exit();
void Mode_Ringing_Display();
void Mode_Talking_Init();
void Mode_Talking_Proc(unsigned key);
void Mode_Talking_Exit();
void Mode_Talking_Display();
void Mode_NumDial_Init();
void Mode_NumDial_Proc(unsigned key);
void Mode_NumDial_Display();
void Mode_SettingMenu_Init();
void Mode_SettingMenu_Proc(unsigned key);
void Mode_Menu_Display();
void Mode_HistoryMenu_Init();
void Mode_HistoryMenu_Proc(unsigned key);
void Mode_HistoryIncoming_Init();
void Mode_HistoryIncoming_Proc(unsigned key);
void Mode_HistoryIncoming_Display();
void Mode_HistoryOutgoing_Init();
void Mode_HistoryOutgoing_Proc(unsigned key);
void Mode_HistoryOutgoing_Display();
void Mode_HistoryMissedcall_Init();
void Mode_HistoryMissedcall_Proc(unsigned key);
void Mode_HistoryMissedcall_Display();
void Mode_HistoryVMail_Init();
void Mode_HistoryVMail_Proc(unsigned key);
void Mode_HistoryVMail_Display();
void Mode_ContactDetail_Init();
void Mode_ContactDetail_Proc(unsigned key);
void Mode_ContactDetail_Display();
void Mode_HistoryDetail_Init();
void Mode_HistoryDetail_Proc(unsigned key);
void Mode_HistoryDetail_Display();
void Mode_VolumeSetting_Proc(unsigned key);
void Mode_VolumeSetting_Display();
void Mode_Conference_Init();
void Mode_Conference_Proc(unsigned key);
void Mode_Conference_Exit();
void Mode_Conference_Display();
void Mode_Unconnected_Display();
void Mode_Balance_Proc(unsigned key);
void Mode_Balance_Display();
void Mode_VoiceMailPlay_Proc(unsigned key);
void Mode_VoiceMailPlay_Display();
void Mode_VoiceMailPlayEnd_Proc(unsigned key);
void Mode_VoiceMailPlayEnd_Display();
void Mode_SysConfirm_Proc(unsigned key);
void Mode_SysConfirm_Display();

// The display-handset key map of the main mode and the no-display one;
// Mode_Main_Proc chooses between them by the display setting.
void Mode_Main_LCD_Proc(unsigned key);
void Mode_Main_NoLCD_Proc(unsigned key);

}  // namespace modes
