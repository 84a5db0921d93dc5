#pragma once
// Every text the window and the console programs show, but the catalogue's (its masks and
// descriptions are the string table of catalogue.rc) and the console's command-line help and
// errors (CliArguments.cpp). A text with a number in it is written here in its pieces; the code
// that fills in the number sits with the command that shows it (ScanReportText, the caption and
// status at the end of DeleteCommandClick, ForGoodQuestion, CheckedTotalText, and the console's
// SummaryLines, RunConsoleClean and progress line); NumberText puts a space before each number.
namespace qorvani::text {

// --- The main window ---
inline constexpr wchar_t kMainCaption[] = L"Qorvani     Qorvani 开发组 出品";
inline constexpr wchar_t kStartupPrompt[] = L"请选择扫描路径，然后点击“开始扫描”对指定的文件夹进行扫描！";
inline constexpr wchar_t kResultCaptionAtStart[] = L"扫描结果：";
inline constexpr wchar_t kInitialScanPath[] = L"C:\\";
inline constexpr wchar_t kPathCaption[] = L"扫描路径：";
inline constexpr wchar_t kAllDrives[] = L"所有硬盘驱动器";
inline constexpr wchar_t kBrowseButton[] = L"...";
inline constexpr wchar_t kDeleteButton[] = L"清除选中项目";
inline constexpr wchar_t kAboutButton[] = L"关于...";
inline constexpr wchar_t kExitButton[] = L"退出";
inline constexpr wchar_t kCheckAllResults[] = L"\u2190 全选";
inline constexpr wchar_t kCheckNoResults[] = L"\u2190 全否";
inline constexpr wchar_t kCheckAllTypes[] = L"全选 \u2191";
inline constexpr wchar_t kCheckNoTypes[] = L"全否 \u2191";
// The columns of the result list and of the type list (the last, a narrow blank one, in each).
inline constexpr wchar_t kFoundFileColumn[] = L"扫描到的文件";
inline constexpr wchar_t kFileSizeColumn[] = L"文件大小(KB)";
inline constexpr wchar_t kFileTypeColumn[] = L"文件类型";
inline constexpr wchar_t kDescriptionColumn[] = L"文件说明";
inline constexpr wchar_t kBlankColumn[] = L" ";
inline constexpr wchar_t kFolderDialogTitle[] = L"选择进行扫描的文件夹。";

// --- A scan ---
inline constexpr wchar_t kStartScanCaption[] = L"开始扫描";
inline constexpr wchar_t kStopCaption[] = L"停止";
inline constexpr wchar_t kScanningCaption[] = L"扫描中...";
inline constexpr wchar_t kScanningFolderPrefix[] = L"正在扫描：";
inline constexpr wchar_t kCompletionStatus[] =
    L"扫描完成！请选中您认为需要删除的文件，然后点击\u201C清除选中项目\u201D删除选中的文件！";
// "扫描结果： 扫描到的文件共有： N个； 占用空间： N MB ；用时： N秒"
inline constexpr wchar_t kReportFiles[] = L"扫描结果： 扫描到的文件共有：";
inline constexpr wchar_t kReportBytes[] = L"个； 占用空间：";
inline constexpr wchar_t kReportSeconds[] = L" MB ；用时：";
inline constexpr wchar_t kReportEnd[] = L"秒";
// A size under 0.1 KB, in the size column: " N(字节)".
inline constexpr wchar_t kBytesSuffix[] = L"(字节)";

// --- The result list's menu and the checked total ---
inline constexpr wchar_t kOpenFolderItem[] = L"打开文件所在的文件夹";
inline constexpr wchar_t kCopyPathItem[] = L"复制完整路径";
// Told when another program keeps the clipboard for a whole second, under the menu item's name.
inline constexpr wchar_t kClipboardBusy[] = L"剪贴板正被其他程序占用，未能复制路径。请稍后再试。";
inline constexpr wchar_t kSortBySizeItem[] = L"按文件大小排序（从大到小）";
inline constexpr wchar_t kSortByPathItem[] = L"按路径排序";
inline constexpr wchar_t kSortAsFoundItem[] = L"按扫描到的顺序排列";
inline constexpr wchar_t kExportListItem[] = L"导出列表…";
// The export's save dialog: its file type, the name it proposes, and the word when writing fails.
inline constexpr wchar_t kExportFileType[] = L"CSV 文件 (*.csv)";
inline constexpr wchar_t kExportDefaultName[] = L"扫描结果.csv";
inline constexpr wchar_t kExportFailed[] = L"未能写入导出的文件。";
// "已选中： N个， N MB"
inline constexpr wchar_t kCheckedPrefix[] = L"已选中：";
inline constexpr wchar_t kCheckedCount[] = L"个，";
inline constexpr wchar_t kMegabytes[] = L" MB";

// --- A delete ---
inline constexpr wchar_t kDeleteTitle[] = L"确认文件删除";
inline constexpr wchar_t kDeleteQuestion[] =
    L"确实要删除所有选定文件吗？\r\n"
    L"点击“是”将文件直接删除，点击“否”将文件放入回收站，点击“取消”放弃删除";
// "有 N个选定文件不能放入回收站（…），…保留这些文件"
inline constexpr wchar_t kForGoodPrefix[] = L"有";
inline constexpr wchar_t kForGoodRest[] =
    L"个选定文件不能放入回收站（所在的驱动器没有回收站、回收站已关闭，或文件大于回收站）。\r\n"
    L"要将这些文件直接删除吗？点击“是”将其直接删除，点击“否”保留这些文件";
inline constexpr wchar_t kDeletingPrefix[] = L"正在删除：";
// The caption "扫描结果： 剩余的文件共有： N个".
inline constexpr wchar_t kRemainingPrefix[] = L"扫描结果： 剩余的文件共有：";
inline constexpr wchar_t kFilesUnit[] = L"个";
// The status "删除文件 N个 未能删除 N个"; when files sent to the Recycle Bin were destroyed
// instead, "删除文件 N个 其中直接删除 N个 " comes first.
inline constexpr wchar_t kDeletedPrefix[] = L"删除文件";
inline constexpr wchar_t kDeletedUnit[] = L"个 ";
inline constexpr wchar_t kNotDeletedPrefix[] = L"未能删除";
inline constexpr wchar_t kDestroyedPrefix[] = L"其中直接删除";

// --- The About window ---
inline constexpr wchar_t kAboutCaption[] = L"关于";
inline constexpr wchar_t kAboutOkButton[] = L"确定";
// The version is put between the two parts.
inline constexpr wchar_t kAboutBeforeVersion[] = L"Qorvani\r\n\r\n垃圾文件清理工具 ";
inline constexpr wchar_t kAboutAfterVersion[] =
    L"\r\n"
    L"按 26 种文件掩码查找临时文件、备份文件、内存转储文件和丢失簇的恢复文件等垃圾文件，"
    L"列出它们的大小，经您确认后直接删除或放入回收站。\r\n"
    L"只有您选中的文件才会被删除。本程序不保存任何设置。";
inline constexpr wchar_t kContact[] = L"意见与反馈：Qorvani 开发组";

// --- The console programs ---
// After a scan's report: "未能读取的文件夹：N个".
inline constexpr wchar_t kUnlistedFoldersPrefix[] = L"未能读取的文件夹：";
inline constexpr wchar_t kStoppedNote[] = L"已停止：以上是停止前的结果。";
// The progress line on a console: "已扫描文件夹： N个，找到文件： N个".
inline constexpr wchar_t kProgressFolders[] = L"已扫描文件夹：";
inline constexpr wchar_t kProgressFiles[] = L"个，找到文件：";
// clean: "要删除找到的 N个文件（ N MB）吗？…(y/N) "
inline constexpr wchar_t kCleanQuestionPrefix[] = L"要删除找到的";
inline constexpr wchar_t kCleanQuestionFiles[] = L"个文件（";
inline constexpr wchar_t kCleanForGood[] = L"吗？文件将被直接删除，不能从回收站恢复。(y/N) ";
inline constexpr wchar_t kCleanToBin[] = L"吗？文件将放入回收站。(y/N) ";
inline constexpr wchar_t kNothingDeleted[] = L"未删除任何文件。";
inline constexpr wchar_t kNoConsoleToAsk[] = L"没有可以询问的控制台，未删除任何文件。无人值守运行时请加上 --yes。";
// "另有 N个最近 24 小时内写入的文件被保留…"
inline constexpr wchar_t kKeptRecentPrefix[] = L"另有";
inline constexpr wchar_t kKeptRecentRest[] = L"个最近 24 小时内写入的文件被保留（--older-than 0 可取消这一限制）。";
// "未能删除：<path>（<reason>）"
inline constexpr wchar_t kKeptRefusedName[] = L"文件名不能安全地交给系统";
inline constexpr wchar_t kKeptNoBin[] = L"回收站不能接收这个文件";
inline constexpr wchar_t kKeptTooLong[] = L"路径太长";
inline constexpr wchar_t kKeptNotAFile[] = L"这个位置现在不是文件";
inline constexpr wchar_t kKeptUnreachable[] = L"无法访问所在的驱动器或网络位置";
inline constexpr wchar_t kKeptInUse[] = L"文件正在被其他程序使用";
inline constexpr wchar_t kKeptAccessDenied[] = L"拒绝访问";
inline constexpr wchar_t kKeptFailed[] = L"删除失败";
inline constexpr wchar_t kKeptStopped[] = L"已停止，未删除";

// --- What a screen reader says a flat button does ---
inline constexpr wchar_t kPressAction[] = L"按下";

}  // namespace qorvani::text
