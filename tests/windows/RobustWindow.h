#pragma once
// The real main window, driven as the robustness cases need it.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DeleteAnswerer.h"
#include "MainWindowHost.h"
#include "RobustSupport.h"
#include "WinTestSupport.h"
#include "app/core/Layout.h"
#include "app/win32/MainWindow.h"
#include "common/core/Texts.h"
#include "scan/core/ScanCommand.h"

namespace robust {

inline constexpr wchar_t kCompletionStatus[] =
    L"扫描完成！请选中您认为需要删除的文件，然后点击“清除选中项目”删除选中的文件！";
inline constexpr int kTmpTypeRow = 1;  // "*.tmp" in the type list

// The shared main window (MainWindowHost) with the steps the robustness cases take.
class RobustWindow {
public:
    bool Valid() const { return host_.Valid(); }
    HWND Handle() const { return host_.Handle(); }
    HWND Item(int id) const { return host_.Item(id); }
    qorvani::MainWindow& Main() const { return *host_.Main(); }
    const qorvani::ResultStore& Results() const { return Main().Results(); }

    void CheckType(int row) { wintest::ClickRowCheckBox(Item(qorvani::kIdTypeList), row); }
    // Types the folder into the path box and clicks "开始扫描"; returns when the scan has ended.
    void Scan(const std::wstring& root) {
        SetWindowTextW(Item(qorvani::kIdPathBox), root.c_str());
        wintest::ClickFlat(Item(qorvani::kIdScanButton));
    }
    void CheckAllResults() { wintest::ClickFlat(Item(qorvani::kIdCheckAllResultsButton)); }
    void ToggleRow(std::size_t row) { wintest::ClickRowCheckBox(Item(qorvani::kIdResultList), static_cast<int>(row)); }

    struct DeleteSeen {
        int questions = 0;
        std::vector<std::wstring> otherBoxes;
    };
    // Clicks "清除选中项目" and answers the question with the given button.
    DeleteSeen Delete(int answer) {
        qorvani::drive::DeleteAnswerer answerer(answer);
        wintest::ClickFlat(Item(qorvani::kIdDeleteButton));
        answerer.Stop();
        return DeleteSeen{answerer.Questions(), answerer.OtherBoxes()};
    }

    std::wstring Caption() const { return wintest::Text(Item(qorvani::kIdScanButton)); }
    std::wstring Report() const { return wintest::Text(Item(qorvani::kIdResultCaption)); }
    std::wstring Status() const { return wintest::StatusText(Item(qorvani::kIdStatusBar)); }

    // The idle state after a scan: caption, completion text, every input enabled again.
    ::testing::AssertionResult IdleAfterScan() const {
        if (Caption() != qorvani::text::kStartScanCaption) return ::testing::AssertionFailure() << "caption not 开始扫描";
        if (Status() != kCompletionStatus) return ::testing::AssertionFailure() << "status " << Narrow(Status());
        for (int id : {qorvani::kIdResultList, qorvani::kIdTypeList, qorvani::kIdDeleteButton, qorvani::kIdAboutButton,
                       qorvani::kIdExitButton, qorvani::kIdCheckAllResultsButton, qorvani::kIdCheckNoResultsButton,
                       qorvani::kIdCheckAllTypesButton, qorvani::kIdCheckNoTypesButton, qorvani::kIdBrowseButton,
                       qorvani::kIdAllDrivesBox, qorvani::kIdPathBox})
            if (!IsWindowEnabled(Item(id))) return ::testing::AssertionFailure() << "control " << id << " disabled";
        const std::wstring head =
            L"扫描结果： 扫描到的文件共有： " + std::to_wstring(Results().Count()) + L"个； 占用空间：";
        if (Report().rfind(head, 0) != 0) return ::testing::AssertionFailure() << "report " << Narrow(Report());
        if (wintest::RowCount(Item(qorvani::kIdResultList)) != static_cast<int>(Results().Count()))
            return ::testing::AssertionFailure() << "list shows " << wintest::RowCount(Item(qorvani::kIdResultList))
                                                 << " rows of " << Results().Count();
        return ::testing::AssertionSuccess();
    }

private:
    qorvani::drive::MainWindowHost host_;
};

}  // namespace robust
