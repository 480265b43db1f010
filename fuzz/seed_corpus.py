#!/usr/bin/env python3
"""Writes the table seeds of the fuzz corpora from the real tables under tests/data/real.

Every table used is MIT or Apache-2.0 licensed (tests/data/real/MANIFEST.tsv names each
one's source and licence). A table with a memo file becomes one seed: the table, the part
separator, the memo file. Hand-made seeds (expressions, schema and settings files, command
lines) are kept in the corpus folders directly; this script leaves them alone.

    python3 fuzz/seed_corpus.py
"""

import os

HERE = os.path.dirname(os.path.abspath(__file__))
REAL = os.path.join(HERE, "..", "tests", "data", "real")
SEPARATOR = b"\n@@PART@@\n"

# (table, memo file or None), relative to tests/data/real.
TABLES = [
    ("infused-dbf/polygon.dbf", None),
    ("fias/testReadException.dbf", None),
    ("dans-dbf-lib/dbase3plus/types/DATE9999.DBF", None),
    ("dans-dbf-lib/dbase5/types/KOE2.DBF", "dans-dbf-lib/dbase5/types/KOE2.DBT"),
    ("dbase-rs/contain_null_padded_numeric.dbf", None),
    ("shapelib/3dpoints.dbf", None),
    ("php-xbase/dBaseVII_double.dbf", None),
    ("infused-dbf/dbase_03_cyrillic.dbf", None),
    ("dans-dbf-lib/dbase3plus/fileExceptions/MEMEMPTY.DBF",
     "dans-dbf-lib/dbase3plus/fileExceptions/MEMEMPTY.DBT"),
    ("dans-dbf-lib/dbase3plus/fileExceptions/PNTRERR.DBF",
     "dans-dbf-lib/dbase3plus/fileExceptions/PNTRERR.DBT"),
    ("dbfdatareader/dbase_03_nullchar.dbf", None),
    ("go-dbf/lessThanActualRecords.dbf", None),
    ("dans-dbf-lib/dbase3plus/usage/MYTABLE.DBF", "dans-dbf-lib/dbase3plus/usage/MYTABLE.DBT"),
    ("dbf-reader-ifrn/dbase3_invalid_fields.dbf", None),
    ("dbf-reader-ifrn/dbase3_invalid_last_update.dbf", None),
    ("dans-dbf-lib/dbase3plus/cars_del2/cars.dbf", "dans-dbf-lib/dbase3plus/cars_del2/cars.dbt"),
    ("dans-dbf-lib/dbase4/cars/cars.DBF", "dans-dbf-lib/dbase4/cars/cars.DBT"),
    ("dans-dbf-lib/foxpro26/cars/cars.DBF", "dans-dbf-lib/foxpro26/cars/cars.FPT"),
    ("dans-dbf-lib/clipper5/cars/cars.DBF", "dans-dbf-lib/clipper5/cars/cars.DBT"),
    ("fias/STRSTAT_cp866.dbf", None),
    ("pyshp/corrupt_too_long.dbf", None),
    ("dans-dbf-lib/foxpro26/FPROALL.DBF", "dans-dbf-lib/foxpro26/FPROALL.FPT"),
    ("dans-dbf-lib/russian_foxpro/rus.dbf", "dans-dbf-lib/russian_foxpro/rus.fpt"),
    ("infused-dbf/cp1251.dbf", None),
    ("dbfdatareader/client.dbf", "dbfdatareader/client.dbt"),
    ("infused-dbf/dbase_8b.dbf", "infused-dbf/dbase_8b.dbt"),
    ("php-xbase/pr90.dbf", "php-xbase/pr90.fpt"),
    ("dbase-rs/stations_with_deleted.dbf", None),
    ("dbffile/PYACFL.DBF", None),
    ("infused-dbf/dbase_31.dbf", None),
]

# Targets taking a table (with a memo file as the second part), and the header check, which
# reads the table alone.
WITH_MEMO = ["table_open_fuzzer", "pack_fuzzer"]
TABLE_ONLY = ["header_repair_fuzzer", "ndx_fuzzer"]


def read(relative):
    with open(os.path.join(REAL, relative), "rb") as f:
        return f.read()


def seed_name(table):
    return "real-" + table.replace("/", "-").replace(".", "_")


def main():
    for table, memo in TABLES:
        data = read(table)
        name = seed_name(table)
        for target in WITH_MEMO + TABLE_ONLY:
            folder = os.path.join(HERE, "corpus", target)
            os.makedirs(folder, exist_ok=True)
            seed = data + SEPARATOR + read(memo) if memo and target in WITH_MEMO else data
            with open(os.path.join(folder, name), "wb") as f:
                f.write(seed)


if __name__ == "__main__":
    main()
