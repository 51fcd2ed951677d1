#pragma once

#include "importers/importer_description.h"

namespace dcf::importers {

// Every importer, each one constant description and its row conversion in
// the source of its record type.

// The filer: adds the file's filer to FILERS when the database does not know
// it yet. The only importer that can stop the conversion: without exactly
// one filer line, or without a filer id, the run is cancelled.
extern const ImporterDescription kImportFLR;
// The cover sheets: a cvr row and a new report number each; then every
// report's rows move to their report's new number.
extern const ImporterDescription kImportFORM;
// Notices from individuals and committees: a NOTICE row each.
extern const ImporterDescription kImportCVR2;
// Activities and purposes: a MEASURES row each.
extern const ImporterDescription kImportCVR3;
// Summary lines: a SMRY row each, in report and line order.
extern const ImporterDescription kImportSMRY;
// Candidates an expenditure benefits: a BENEFIT row each.
extern const ImporterDescription kImportCAND;
// Contributions and pledges: an RCPT row each, the contributor resolved
// among the filer's names.
extern const ImporterDescription kImportRCPT;
// Expenditures: an EXPN row each, the payee resolved.
extern const ImporterDescription kImportEXPN;
// Credits: a CRED row each, the payee resolved.
extern const ImporterDescription kImportCRED;
// Assets: an ASSET row each.
extern const ImporterDescription kImportASSET;
// Loans: a LOAN row each, the lender resolved.
extern const ImporterDescription kImportLOAN;
// Guarantors of loans and debts: a GUAR row each, the guarantor resolved.
extern const ImporterDescription kImportGUAR;
// Outstanding debts: a DEBT row each, the creditor resolved and kept.
extern const ImporterDescription kImportDEBT;
// Memos: a report's memos row, or its cover sheet's Memo.
extern const ImporterDescription kImportTEXT;
// Final-report records: a FINL row each.
extern const ImporterDescription kImportFINL;
// Corrected-report explanations: a CORR row each.
extern const ImporterDescription kImportCORR;

} // namespace dcf::importers
