#include "app/TTulvoForms.h"

#include "app/uTulvo.h"
#include "views/u2SPM.h"
#include "views/u3SPM.h"
#include "views/u6SPM.h"

TTulvoForms::TTulvoForms(IDialogs& dialogs)
    : fmTulvo(std::make_unique<TfmTulvo>(dialogs)),
      fm2SPM(std::make_unique<Tfm2SPM>(*fmTulvo)),
      fm3SPM(std::make_unique<Tfm3SPM>(*fmTulvo)),
      fm6SPM(std::make_unique<Tfm6SPM>(*fmTulvo))
{
    fmTulvo->SetComparisonWindows(fm2SPM.get(), fm3SPM.get(), fm6SPM.get());
}

TTulvoForms::~TTulvoForms()
{
    fmTulvo->SetComparisonWindows(nullptr, nullptr, nullptr);
}
