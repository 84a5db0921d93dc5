#pragma once
// clean: the console scan's selection, one question (or --yes), then the window's delete over
// it, with every kept file told and why.
#include <cstdint>
#include <string>

#include "clean/core/DeleteCommand.h"
#include "cli/core/CliArguments.h"
#include "cli/core/ConsoleScan.h"

namespace qorvani {

// What the clean needs of the console besides what the scan needs.
class ConsoleCleanView : public ConsoleScanView {
public:
    // A line for the user (UTF-16; the view writes it to the standard output).
    virtual void Say(const std::wstring& line) = 0;
    // True when there is a console to ask on (standard input is one).
    virtual bool CanAsk() = 0;
    // Asks question and reads the answer: true only for "y" or "yes", in any case.
    virtual bool AskYes(const std::wstring& question) = 0;
};

// The words of a kept file's reason.
const wchar_t* KeptReasonText(KeptReason reason);

ExitCode RunConsoleClean(const CliRequest& request, DirectoryLister& lister, FileShell& shell, ConsoleCleanView& view);

}  // namespace qorvani
