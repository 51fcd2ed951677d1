-- Filing database of the DCF conversion, for SQLite.
-- Creates, on an empty database, every table and column the conversion reads or
-- writes, the indexes its per-row lookups use, and the one counter row.
-- Run it once: sqlite3 FILE < schema/sqlite.sql
--
-- Text columns have no length limit. The importers enforce the widths noted beside
-- the columns, so an over-long value is handled the same way on every engine.
-- Currency is NUMERIC, bound as decimal text. Booleans are INTEGER 1 or 0.
-- Yes/no values that the conversion writes as text are "-1" for yes, "0" for no.
-- Dates are text in month/day/year order, written as converted, even when unusable.

-- Staging: one row per staged DCF line, every value as text. import_key keeps
-- staging order.
CREATE TABLE IMPORTTEMP (
    import_key INTEGER PRIMARY KEY,
    filer_id   TEXT,
    rec_type   TEXT, -- four characters, a filer line is "FLR,"
    rec_num    TEXT,
    repno      TEXT,
    Status     TEXT, -- "I" staged, "E" not imported, "S" or "T" renumbered
    field4     TEXT,
    field5     TEXT,
    field6     TEXT,
    field7     TEXT, -- at most 255 characters, longer values go to Memo
    field8     TEXT,
    field9     TEXT,
    field10    TEXT, -- at most 255 characters, longer values go to Memo
    field11    TEXT,
    field12    TEXT,
    field13    TEXT,
    field14    TEXT,
    field15    TEXT,
    field16    TEXT,
    field17    TEXT,
    field18    TEXT,
    field19    TEXT,
    field20    TEXT,
    field21    TEXT,
    field22    TEXT,
    field23    TEXT,
    field24    TEXT,
    field25    TEXT,
    field26    TEXT,
    field27    TEXT,
    field28    TEXT,
    field29    TEXT,
    field30    TEXT,
    field31    TEXT,
    field32    TEXT,
    field33    TEXT,
    field34    TEXT,
    field35    TEXT,
    field36    TEXT,
    field37    TEXT,
    field38    TEXT,
    field39    TEXT,
    field40    TEXT,
    field41    TEXT,
    field42    TEXT,
    field43    TEXT,
    field44    TEXT,
    field45    TEXT,
    field46    TEXT,
    Memo       TEXT
);

-- Filers known to the filing database. Refreshed with the treasurer of the last cover sheet
-- that names one.
CREATE TABLE FILERS (
    filer_id   TEXT,
    filer_type TEXT,
    entity_cd  TEXT,
    filer_naml TEXT,
    filer_namf TEXT,
    filer_namt TEXT,
    filer_nams TEXT,
    filer_namn TEXT,
    filer_adr1 TEXT,
    filer_adr2 TEXT,
    filer_city TEXT,
    filer_stcd TEXT,
    filer_zip4 TEXT,
    tres_naml  TEXT,
    tres_namf  TEXT,
    tres_namt  TEXT,
    tres_nams  TEXT,
    tres_namn  TEXT,
    tres_adr1  TEXT,
    tres_adr2  TEXT,
    tres_city  TEXT,
    tres_stcd  TEXT,
    tres_zip4  TEXT,
    tres_phon  TEXT,
    tres_ph_x  TEXT,
    tmail_adr1 TEXT,
    tmail_adr2 TEXT,
    tmail_city TEXT,
    tmail_stcd TEXT,
    tmail_zip4 TEXT
);

-- Cover sheets, one row per report. Flags are text. Memo holds texts of schedules
-- that have no memos column.
CREATE TABLE cvr (
    filer_id       TEXT,
    repno          TEXT,
    form_type      TEXT,
    correction_num TEXT,
    Prev_Repno     TEXT,
    from_date      TEXT, -- date
    thru_date      TEXT, -- date
    elect_date     TEXT, -- date
    electtypcd     TEXT,
    electdescr     TEXT,
    OffHldCd       TEXT,
    OffHldNam      TEXT, -- at most 30 characters
    OffHldNum      TEXT, -- at most 4 characters
    OffSeekCd      TEXT,
    OffSeekNam     TEXT, -- at most 30 characters
    OffSeekNum     TEXT, -- at most 4 characters
    party_code     TEXT,
    party_text     TEXT,
    st_co_code     TEXT,
    county_name    TEXT,
    sign_print     TEXT,
    filed_yn       TEXT, -- "-1" yes, "0" no
    rpttyp_jan     TEXT, -- "-1" yes, "0" no
    rpttyp_jul     TEXT, -- "-1" yes, "0" no
    rpttyp_e50     TEXT, -- "-1" yes, "0" no
    rpttyp_e30     TEXT, -- "-1" yes, "0" no
    rpttyp_e8      TEXT, -- "-1" yes, "0" no
    rpttyp_a15     TEXT, -- "-1" yes, "0" no
    rpttyp_a10     TEXT, -- "-1" yes, "0" no
    rpttyp_500     TEXT, -- "-1" yes, "0" no
    rpttyp_run     TEXT, -- "-1" yes, "0" no
    rpttyp_fin     TEXT, -- "-1" yes, "0" no
    rpttyp_mon     TEXT, -- "JAN" to "DEC"
    filer_coa      TEXT, -- "-1" yes, "0" no
    tmail_coa      TEXT, -- "-1" yes, "0" no
    itemize_all    TEXT, -- "-1" yes, "0" no
    entity_cd      TEXT,
    filer_naml     TEXT,
    filer_namf     TEXT,
    filer_namt     TEXT,
    filer_nams     TEXT,
    filer_namn     TEXT,
    filer_adr1     TEXT,
    filer_adr2     TEXT,
    filer_city     TEXT,
    filer_stcd     TEXT,
    filer_zip4     TEXT,
    tres_naml      TEXT,
    tres_namf      TEXT,
    tres_namt      TEXT,
    tres_nams      TEXT,
    tres_namn      TEXT,
    tres_adr1      TEXT,
    tres_adr2      TEXT,
    tres_city      TEXT,
    tres_stcd      TEXT,
    tres_zip4      TEXT,
    tres_phon      TEXT,
    tres_phone_x   TEXT,
    tmail_adr1     TEXT,
    tmail_adr2     TEXT,
    tmail_city     TEXT,
    tmail_stcd     TEXT,
    tmail_zip4     TEXT,
    no_actv        TEXT, -- "-1" yes, "0" no
    Memo           TEXT
);

-- Names of each filer, found by filer_id and name_id. Widths are those the name
-- check trims to.
CREATE TABLE names (
    filer_id   TEXT,
    name_id    TEXT,
    name_type  TEXT,
    entity_cd  TEXT,
    naml       TEXT, -- at most 100 characters
    namf       TEXT, -- at most 45 characters
    namt       TEXT, -- at most 15 characters
    nams       TEXT, -- at most 5 characters
    namn       TEXT, -- at most 25 characters
    adr1       TEXT, -- at most 55 characters
    adr2       TEXT, -- at most 55 characters
    city       TEXT, -- at most 30 characters
    stcd       TEXT, -- at most 2 characters
    zip4       TEXT, -- at most 10 characters
    employer   TEXT, -- at most 60 characters
    occup      TEXT, -- at most 60 characters
    job_title  TEXT, -- at most 60 characters
    spous_emp  TEXT, -- at most 60 characters
    parent1    TEXT, -- at most 50 characters
    parent2    TEXT, -- at most 50 characters
    os_pac_cb  TEXT, -- "-1" yes, "0" no
    os_pac_fec TEXT  -- at most 9 characters when os_pac_cb is -1
);

-- One row: the next name id and the next report number, each advanced in one
-- atomic statement.
CREATE TABLE repno (
    NameID INTEGER NOT NULL, -- next name id to hand out
    repno  INTEGER NOT NULL  -- next report number to hand out
);

-- Contributions and pledges.
CREATE TABLE RCPT (
    filer_id     TEXT,
    repno        TEXT,
    rec_type     TEXT,
    form_type    TEXT,
    ctrib_id     TEXT,
    item_id      TEXT,
    ctrib_amt    NUMERIC,
    ctrib_date   TEXT,    -- date
    ctrib_dscr   TEXT,    -- at most 100 characters
    entity_cd    TEXT,
    ctrib_naml   TEXT,    -- at most 100, by the name check
    ctrib_namf   TEXT,    -- at most 45, by the name check
    ctrib_namt   TEXT,    -- at most 15, by the name check
    ctrib_nams   TEXT,    -- at most 5, by the name check
    ctrib_namn   TEXT,    -- at most 25, by the name check
    ctrib_adr1   TEXT,    -- at most 55, by the name check
    ctrib_adr2   TEXT,    -- at most 55, by the name check
    ctrib_city   TEXT,    -- at most 30, by the name check
    ctrib_stcd   TEXT,    -- at most 2, by the name check
    ctrib_zip4   TEXT,    -- at most 10, by the name check
    os_pac_cb    TEXT,    -- "-1" yes, "0" no
    os_pac_fec   TEXT,    -- at most 9, by the name check
    employer     TEXT,    -- at most 60, by the name check
    occup        TEXT,    -- at most 60, by the name check
    job_title    TEXT,    -- at most 60, by the name check
    spous_emp    TEXT,    -- at most 60, by the name check
    parent1      TEXT,    -- at most 50, by the name check
    parent2      TEXT,    -- at most 50, by the name check
    itemize_user INTEGER, -- Boolean
    itemize_prog INTEGER  -- Boolean
);

-- Expenditures.
CREATE TABLE EXPN (
    filer_id     TEXT,
    repno        TEXT,
    rec_type     TEXT,
    form_type    TEXT,
    item_id      TEXT,
    expn_amt     NUMERIC,
    expn_date    TEXT,    -- date
    expn_descr   TEXT,    -- at most 100 characters
    expcntr_yn   TEXT,    -- "Y" or "N"
    expncorp_yn  TEXT,    -- "Y" or "N"
    reimbur_cb   TEXT,    -- "X" or empty
    payee_id     TEXT,
    entity_cd    TEXT,
    payee_naml   TEXT,    -- at most 100, by the name check
    payee_namf   TEXT,    -- at most 45, by the name check
    payee_namt   TEXT,    -- at most 15, by the name check
    payee_nams   TEXT,    -- at most 5, by the name check
    payee_namn   TEXT,    -- at most 25, by the name check
    payee_adr1   TEXT,    -- at most 55, by the name check
    payee_adr2   TEXT,    -- at most 55, by the name check
    payee_city   TEXT,    -- at most 30, by the name check
    payee_stcd   TEXT,    -- at most 2, by the name check
    payee_zip4   TEXT,    -- at most 10, by the name check
    itemize_prog INTEGER, -- Boolean
    itemize_user INTEGER  -- Boolean
);

-- Loans.
CREATE TABLE LOAN (
    filer_id     TEXT,
    repno        TEXT,
    rec_type     TEXT,
    form_type    TEXT,
    item_id      TEXT,
    loan_date    TEXT,    -- date
    loan_amt     NUMERIC,
    Int_Rate     TEXT,    -- as written in the file
    Mature_Dt    TEXT,    -- date
    No_Coll_CB   TEXT,    -- "-1" yes, "0" no
    Coll_Descr   TEXT,    -- at most 100 characters
    FinInst_YN   TEXT,    -- "-1" yes, "0" no
    lender_id    TEXT,
    entity_cd    TEXT,
    lend_naml    TEXT,    -- at most 100, by the name check
    lend_namf    TEXT,    -- at most 45, by the name check
    lend_namt    TEXT,    -- at most 15, by the name check
    lend_nams    TEXT,    -- at most 5, by the name check
    Lend_namn    TEXT,    -- at most 25, by the name check
    lend_adr1    TEXT,    -- at most 55, by the name check
    lend_adr2    TEXT,    -- at most 55, by the name check
    lend_city    TEXT,    -- at most 30, by the name check
    lend_stcd    TEXT,    -- at most 2, by the name check
    lend_zip4    TEXT,    -- at most 10, by the name check
    os_pac_cb    TEXT,    -- "-1" yes, "0" no
    os_pac_fec   TEXT,    -- at most 9, by the name check
    L_employer   TEXT,    -- at most 60, by the name check
    L_occup      TEXT,    -- at most 60, by the name check
    L_jobtitle   TEXT,    -- at most 60, by the name check
    L_spousemp   TEXT,    -- at most 60, by the name check
    L_parent1    TEXT,    -- at most 50, by the name check
    L_parent2    TEXT,    -- at most 50, by the name check
    Guar_NACB    TEXT,    -- "-1" yes, "0" no
    itemize_user INTEGER, -- Boolean
    itemize_prog INTEGER  -- Boolean
);

-- Guarantors of loans and debts.
CREATE TABLE GUAR (
    filer_id   TEXT,
    repno      TEXT,
    item_id    TEXT,
    backref_id TEXT,
    guar_id    TEXT,
    entity_cd  TEXT,
    guar_naml  TEXT, -- at most 100, by the name check
    guar_namf  TEXT, -- at most 45, by the name check
    guar_namt  TEXT, -- at most 15, by the name check
    guar_nams  TEXT, -- at most 5, by the name check
    guar_namn  TEXT, -- at most 25, by the name check
    guar_adr1  TEXT, -- at most 55, by the name check
    guar_adr2  TEXT, -- at most 55, by the name check
    guar_city  TEXT, -- at most 30, by the name check
    guar_stcd  TEXT, -- at most 2, by the name check
    guar_zip4  TEXT, -- at most 10, by the name check
    guar_amt   NUMERIC,
    g_employer TEXT, -- at most 60, by the name check
    g_occup    TEXT, -- at most 60, by the name check
    g_jobtitle TEXT, -- at most 60, by the name check
    g_spousemp TEXT, -- at most 60, by the name check
    g_parent1  TEXT, -- at most 50, by the name check
    g_parent2  TEXT, -- at most 50, by the name check
    rec_type   TEXT  -- the parent record type, "LOAN" or "DEBT"
);

-- Credits.
CREATE TABLE CRED (
    filer_id   TEXT,
    repno      TEXT,
    rec_type   TEXT,
    form_type  TEXT,
    item_id    TEXT,
    payee_id   TEXT,
    incur_Date TEXT, -- date
    incur_amt  NUMERIC,
    cred_descr TEXT, -- at most 100 characters
    entity_cd  TEXT,
    payee_naml TEXT, -- at most 100, by the name check
    payee_namf TEXT, -- at most 45, by the name check
    payee_namt TEXT, -- at most 15, by the name check
    payee_nams TEXT, -- at most 5, by the name check
    payee_namn TEXT, -- at most 25, by the name check
    payee_adr1 TEXT, -- at most 55, by the name check
    payee_adr2 TEXT, -- at most 55, by the name check
    payee_city TEXT, -- at most 30, by the name check
    payee_stcd TEXT, -- at most 2, by the name check
    payee_zip4 TEXT  -- at most 10, by the name check
);

-- Debts.
CREATE TABLE DEBT (
    filer_id  TEXT,
    repno     TEXT,
    rec_type  TEXT,
    form_type TEXT,
    item_id   TEXT,
    cred_id   TEXT,
    entity_cd TEXT,
    cred_naml TEXT, -- at most 100, by the name check
    cred_namf TEXT, -- at most 45, by the name check
    cred_namt TEXT, -- at most 15, by the name check
    cred_nams TEXT, -- at most 5, by the name check
    cred_namn TEXT, -- at most 25, by the name check
    cred_adr1 TEXT, -- at most 55, by the name check
    cred_adr2 TEXT, -- at most 55, by the name check
    cred_city TEXT, -- at most 30, by the name check
    cred_stcd TEXT, -- at most 2, by the name check
    cred_zip4 TEXT, -- at most 10, by the name check
    Guar_NACB TEXT  -- "-1" yes, "0" no
);

-- Candidates an expenditure benefited.
CREATE TABLE BENEFIT (
    filer_id   TEXT,
    repno      TEXT,
    rec_type   TEXT, -- "EXPN"
    backref_id TEXT,
    item_id    TEXT,
    cand_naml  TEXT,
    cand_namf  TEXT,
    cand_namt  TEXT,
    cand_nams  TEXT,
    cand_namn  TEXT,
    OffHldCd   TEXT,
    OffHldNam  TEXT, -- at most 30 characters
    OffHldNum  TEXT, -- at most 4 characters
    OffSeekCd  TEXT,
    OffSeekNam TEXT, -- at most 30 characters
    OffSeekNum TEXT  -- at most 4 characters
);

-- Assets. asset_dscr has no limit.
CREATE TABLE ASSET (
    filer_id   TEXT,
    repno      TEXT,
    rec_type   TEXT, -- "ASSET"
    form_type  TEXT,
    item_id    TEXT,
    asset_dscr TEXT
);

-- Notices: a candidate or committee named on a cover sheet, with its treasurer.
CREATE TABLE NOTICE (
    filer_id   TEXT,
    repno      TEXT,
    form_type  TEXT,
    rec_type   TEXT,
    item_id    TEXT,
    cmtte_type TEXT,
    Cvr2_naml  TEXT,
    Cvr2_namf  TEXT,
    Cvr2_namt  TEXT,
    Cvr2_nams  TEXT,
    Cvr2_namn  TEXT,
    Cvr2_adr1  TEXT,
    Cvr2_adr2  TEXT,
    Cvr2_city  TEXT,
    Cvr2_stcd  TEXT,
    Cvr2_zip4  TEXT,
    entity_cd  TEXT,
    tres_naml  TEXT,
    tres_namf  TEXT,
    tres_namt  TEXT,
    tres_nams  TEXT,
    tres_namn  TEXT,
    tres_adr1  TEXT,
    tres_adr2  TEXT,
    tres_city  TEXT,
    tres_stcd  TEXT,
    tres_zip4  TEXT
);

-- Measures or offices a report supports or opposes.
CREATE TABLE MEASURES (
    filer_id    TEXT,
    repno       TEXT,
    rec_type    TEXT,
    form_type   TEXT,
    item_id     TEXT,
    text_name   TEXT, -- at most 100 characters
    supoppsubj  TEXT,
    supopp_cd   TEXT,
    officename  TEXT, -- at most 30 characters
    ballot_no   TEXT,
    election_dt TEXT  -- date
);

-- Summary page lines.
CREATE TABLE SMRY (
    filer_id     TEXT,
    repno        TEXT,
    rec_type     TEXT,
    form_type    TEXT,
    line_item    TEXT,
    amount       NUMERIC,
    user_entered NUMERIC
);

-- Schedule texts, one row per filer and report, one column per schedule letter.
CREATE TABLE memos (
    filer_id TEXT,
    repno    TEXT,
    memo_a   TEXT,
    memo_b   TEXT,
    memo_c   TEXT,
    memo_d   TEXT,
    memo_e   TEXT,
    memo_f   TEXT,
    memo_g   TEXT,
    memo_h   TEXT,
    memo_i   TEXT,
    memo_j   TEXT,
    memo_k   TEXT,
    memo_l   TEXT,
    memo_M   TEXT,
    memo_n   TEXT
);

-- Final-report answers.
CREATE TABLE FINL (
    filer_id  TEXT,
    repno     TEXT,
    rec_type  TEXT,
    form_type TEXT,
    boxa_cd   INTEGER, -- Boolean
    boxb_cd   INTEGER, -- Boolean
    oh_ack_cb INTEGER  -- Boolean
);

-- Explanations of corrected reports.
CREATE TABLE CORR (
    filer_id  TEXT,
    repno     TEXT,
    rec_type  TEXT,
    form_type TEXT,
    explain   TEXT
);

-- Lookups of the per-row loops.
CREATE INDEX ix_IMPORTTEMP_rec_type_import_key ON IMPORTTEMP (rec_type, import_key);
CREATE INDEX ix_IMPORTTEMP_repno ON IMPORTTEMP (repno);
CREATE INDEX ix_IMPORTTEMP_rec_num ON IMPORTTEMP (rec_num);
CREATE INDEX ix_FILERS_filer_id ON FILERS (filer_id);
CREATE INDEX ix_cvr_repno ON cvr (repno);
-- A name by its id, and a filer's names, read once per run by the name
-- checks, which search them in memory.
CREATE INDEX ix_names_name_id ON names (filer_id, name_id);
CREATE INDEX ix_memos_repno ON memos (repno);

-- Name id 1 stays reserved: a notice keeps its treasurer only above 1.
INSERT INTO repno (NameID, repno) VALUES (2, 1);
