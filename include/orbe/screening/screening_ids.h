// The message, command and control numbers of the screening screen. The
// panes post the commands to the screening window (or the window that was
// set as their receiver) with both parameters 0; the numbers are the contract
// between them and with hosts that embed a pane alone.
#ifndef ORBE_SCREENING_SCREENING_IDS_H_
#define ORBE_SCREENING_SCREENING_IDS_H_

#include "orbe/platform/types.h"

namespace orbe {

// Commands of the condition window, posted as messages of the same number.
inline constexpr UINT kCmdRunScreening = 13008;  // "执行选股"
inline constexpr UINT kCmdSaveScheme = 3010;     // "保存方案"
inline constexpr UINT kCmdExport = 3011;         // "数据导出"
inline constexpr UINT kCmdDeleteScheme = 3014;   // "删除方案"
inline constexpr UINT kCmdNewScheme = 3016;      // "新建条件"
inline constexpr UINT kCmdSaveBoard = 3018;      // "保存板块"
inline constexpr UINT kCmdStatistics = 4018;     // "数据统计"
// Commands the condition window handles itself.
inline constexpr UINT kCmdHelp = 3007;             // "帮助"
inline constexpr UINT kCmdIntersection = 3008;     // "交集"
inline constexpr UINT kCmdUnion = 3009;            // "并集"
inline constexpr UINT kCmdEditCondition = 3015;    // "编辑条件"
inline constexpr UINT kCmdDeleteCondition = 3017;  // "删除条件"
inline constexpr UINT kCmdIndexManager = 13007;    // "指标管理"
inline constexpr UINT kCmdDeleteAll = 13002;       // pop-up "删除全部"
inline constexpr UINT kCmdDeleteSelected = 13010;  // pop-up "删除所选"
// Controls of the condition window.
inline constexpr UINT kCtrlConditionGrid = 13001;
inline constexpr UINT kCtrlReportPeriod = 3020;
inline constexpr UINT kCtrlExpression = 3021;
inline constexpr UINT kCtrlConditionProgress = 3022;

// The indicator tree window: tabs, search and the description pop-up.
inline constexpr UINT kCmdTabIndicators = 13004;  // "待选指标"
inline constexpr UINT kCmdTabSystemSchemes = 13005;
inline constexpr UINT kCmdTabUserSchemes = 13006;  // "我的方案"
inline constexpr UINT kCtrlSearchEdit = 13009;
inline constexpr UINT kCtrlSearchMatches = 13011;
inline constexpr UINT kCtrlTabs = 13012;
inline constexpr UINT kCtrlIndicatorTree = 13013;
inline constexpr UINT kCtrlSystemTree = 13014;
inline constexpr UINT kCtrlUserTree = 13015;
inline constexpr UINT kCmdIndexInfo = 15624;  // pop-up "指标说明"

// The result display.
inline constexpr UINT kCtrlResultGrid = 13001;
inline constexpr UINT kCmdShowGrid = 3012;
inline constexpr UINT kCmdShowChart = 3013;
inline constexpr UINT kCtrlResultChart = 3023;
inline constexpr UINT kCtrlSummary = 3024;
inline constexpr UINT kCtrlStatistics = 3025;
inline constexpr UINT kCtrlFetch = 3026;

// The screening window.
inline constexpr UINT kMsgScreeningFinished = 1025;  // WM_USER + 1, from the result display
inline constexpr int kNotifyRebuildBoards = 15044;   // IMultiIndexWnd::Notify code
inline constexpr UINT kCtrlMainSplitter = 59648;
inline constexpr UINT kCtrlLeftSplitter = 59649;
inline constexpr UINT kCtrlRightSplitter = 59650;
inline constexpr UINT kCtrlIndexTree = 59651;
inline constexpr UINT kCtrlBoardPane = 59652;
inline constexpr UINT kCtrlConditionPane = 59653;
inline constexpr UINT kCtrlResultPane = 59654;
inline constexpr UINT kCtrlBoardTree = 59655;
inline constexpr UINT kCtrlBoardCaption = 59656;

}  // namespace orbe

#endif  // ORBE_SCREENING_SCREENING_IDS_H_
