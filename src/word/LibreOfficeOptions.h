#pragma once

#include <QString>

// How the office automation module finds and starts LibreOffice. The defaults are the
// user's office: the user's own profile and a visible window. Tests use a private
// profile, a pipe of their own and no window.
struct LibreOfficeOptions
{
    // Bumped whenever this struct or the object-model interfaces change, so that a
    // module built against other headers is refused instead of misread.
    static constexpr int InterfaceVersion = 2;

    // The office's program folder (holding soffice, fundamentalrc, bootstraprc).
    QString programDir;
    // Name of the pipe on which our offices accept UNO connections; the office adds the user id.
    QString pipeName = QStringLiteral(u"parafrix");
    // Profile URL (file:///…) for a private office; empty: the user's default profile.
    QString profileUrl;
    bool headless = false;
    int startTimeoutMs = 30000;
    int callTimeoutMs = 10000;
    // How long a quit request waits for the office before reporting that it still asks
    // the user; quitting without a question takes well under this.
    int quitAnswerWaitMs = 1500;
};
