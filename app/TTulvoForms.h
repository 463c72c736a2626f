#pragma once

#include <memory>

class IDialogs;
class TfmTulvo;
class Tfm2SPM;
class Tfm3SPM;
class Tfm6SPM;

// The program's four windows, created at start-up in this order: the main window, then the
// two-, three- and six-spectrum windows, hidden. They live until the program ends; the
// comparison windows are destroyed first.
struct TTulvoForms
{
    explicit TTulvoForms(IDialogs& dialogs);
    ~TTulvoForms();
    TTulvoForms(const TTulvoForms&) = delete;
    TTulvoForms& operator=(const TTulvoForms&) = delete;

    std::unique_ptr<TfmTulvo> fmTulvo;
    std::unique_ptr<Tfm2SPM> fm2SPM;
    std::unique_ptr<Tfm3SPM> fm3SPM;
    std::unique_ptr<Tfm6SPM> fm6SPM;
};
