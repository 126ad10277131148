-- Schema of a fresh address database. Statements end with ';' at the end of a line.

-- Contacts, in this fixed column order. No key: names may repeat, a row is identified by
-- the name and the columns the phone book lists.
CREATE TABLE address_book (
    name TEXT,
    lastname TEXT,
    firstname TEXT,
    nickname TEXT,
    company TEXT,
    companynumber TEXT,
    department TEXT,
    jobtitle TEXT,
    businesstelephonenumber TEXT,
    businessfaxnumber TEXT,
    hometelephonenumber TEXT,
    mobiletelephonenumber TEXT,
    businessextension TEXT,
    homeextension TEXT,
    businessfaxextension TEXT,
    networkphonenumber TEXT,
    networkextension TEXT,
    immdiatenumber TEXT,
    assistantname TEXT,
    assistantphonenumber TEXT,
    assitantextension TEXT,
    companyaddress TEXT,
    companypostalcode TEXT,
    homeaddress TEXT,
    homepostalcode TEXT,
    spouse TEXT,
    birthday TEXT,
    anniversary TEXT,
    emailaddress TEXT,
    webpage TEXT,
    remark TEXT,
    ishavepicture BOOLEAN NOT NULL DEFAULT 0 CHECK (ishavepicture IN (0, 1))
);

-- The phone book, the tree and the caller lookup all read in name order.
CREATE INDEX address_book_by_name ON address_book (name);

-- Telephone and display settings: one row, read and updated by column name.
CREATE TABLE phone_setting (
    skin INTEGER,
    linecode TEXT,
    phonetype TEXT,
    bshowinfo INTEGER,
    coring TEXT,
    icmring TEXT,
    bvksring INTEGER
);

-- Version 1. The program adds the caller-number index (contact_number and its triggers) on
-- top, as it does when it opens a file from before that index, and sets version 2.
PRAGMA user_version = 1;
