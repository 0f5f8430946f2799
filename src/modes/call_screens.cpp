// The screens of the two call modes. The ringing screen also rings the
// handset: the ring command goes out at every redraw of an incoming call,
// with or without a display.

#include <cstdio>
#include <string>

#include "common/settings.h"
#include "handset/handset_commands.h"
#include "modes/icon_strip.h"
#include "modes/mode_machine.h"
#include "modes/mode_operations.h"
#include "modes/screen_texts.h"
#include "modes/virtual_display.h"
#include "skype/call_list.h"
#include "skype/skype_monitor.h"

namespace modes {

namespace {

constexpr int kAnimationX = 18;
constexpr int kMutedX = 35;

// The status icon, an animation frame beside it and the clock; the frame
// moves on by one at every draw.
void DrawAnimatedHeader(int firstFrameIcon) {
    CVirtualDisplay& d = g_VirtualDisplay;
    const int frame = g_ModeState.m_nRingFrame;
    d.DrawRowIcon(0, kIconStatus, 0);
    d.DrawRowIcon(0, firstFrameIcon + frame, kAnimationX);
    d.DrawTextRow(0, 0, skype::GetTimeText(), kAlignRight);
    g_ModeState.m_nRingFrame = (frame + 1) % 3;
}

}  // namespace

void Mode_Ringing_Display() {
    CVirtualDisplay& d = g_VirtualDisplay;
    d.ClearScreen();
    const auto call = skype::g_SkypeMonitor.m_CurrCallList.GetLastCall();
    if (!call) return;
    // Drawing does nothing without a display; the ring command still goes.
    d.DrawTextRow(0, 1, call->m_szPartnerName, kAlignLeft);
    if (skype::IsIncomingCall(call->m_nType)) {
        d.DrawTextRow(0, 3, ScreenText(IDS_SCREEN_ACCEPT), kAlignLeft);
        d.DrawTextRow(0, 3, ScreenText(IDS_SCREEN_REFUSE), kAlignRight);
        DrawAnimatedHeader(kIconRinging1);
        handset::NewWriteCmd(handset::CMD_RING, 4, 0, 0);
    } else if (call->m_nType == skype::E_TYPE_UNKNOWN) {
        d.DrawTextRow(0, 3, ScreenText(IDS_SCREEN_HANGUP), kAlignRight);
    } else {
        DrawAnimatedHeader(kIconDialling1);
        d.DrawTextRow(0, 3, ScreenText(IDS_SCREEN_HANGUP), kAlignRight);
    }
}

void Mode_Talking_Display() {
    if (common::g_Settings.VAL_ENABLE_LCM != 1) return;
    CVirtualDisplay& d = g_VirtualDisplay;
    d.ClearScreen();
    d.DrawRowIcon(0, kIconStatus, 0);
    d.DrawRowIcon(0, kIconCallInProgress, kAnimationX);
    d.DrawTextRow(0, 0, skype::GetTimeText(), kAlignRight);
    if (skype::g_SkypeMonitor.m_bMute == 1) d.DrawRowIcon(0, kIconMuted, kMutedX);
    if (const auto call = skype::g_SkypeMonitor.m_CurrCallList.GetLastCall()) {
        d.DrawTextRow(0, 1, call->m_szPartnerName, kAlignLeft);
        d.DrawTextRow(0, 2, DurationText(call->m_nDuration), kAlignCentre);
    }
    d.DrawTextRow(0, 3, ScreenText(IDS_SCREEN_MUTE), kAlignLeft);
    d.DrawTextRow(0, 3, ScreenText(IDS_SCREEN_HANGUP), kAlignRight);
}

}  // namespace modes
