"""The alert batch reduced to its bare statements, run by Python's sqlite3
module: per pending transaction select the job, reset its change flags,
insert the history row, delete the transaction and commit, in WAL mode at
synchronous NORMAL. Prints the seconds the loop took.

Usage: python3 alert_batch_floor.py <database file>
"""
import sqlite3
import sys
import time


def main():
    conn = sqlite3.connect(sys.argv[1], isolation_level=None)
    conn.execute("pragma journal_mode = WAL")
    conn.execute("pragma synchronous = NORMAL")
    started = time.perf_counter()
    pending = conn.execute(
        "select AlertTransToken, AlertNbr, EventTimeStamp, EmpNbrGeneratedTrans, JobNbr, PoNbr,"
        " Arg1 from ALERT_TRANSACTION").fetchall()
    columns = None
    for token, alert, stamp, by, job_nbr, po, arg1 in pending:
        conn.execute("begin")
        cursor = conn.execute("select * from JOBS where JobNbr = ?", (job_nbr,))
        job = cursor.fetchone()
        if columns is None:
            columns = {d[0]: i for i, d in enumerate(cursor.description)}
        conn.execute("update JOBS set ChangedByScheduler = 0 where JobNbr = ?", (job_nbr,))
        text = "Archived job material cost changed.\nJob: %s - %s. PO %d. Vendor: %s." % (
            job[columns["JobId"]], job[columns["JobDescr"]], po, arg1)
        conn.execute(
            "insert into ALERT_HISTORY (AlertNbr, AlertRecipientNbr, DateGenerated, Priority,"
            " Descr, SendEmail, EmpNbrTriggeredAlert, JobNbr, PoNbr) values"
            " (?, ?, ?, 1, ?, 1, ?, ?, ?)",
            (alert, job[columns["ProjManagerId"]], stamp, text, by, job_nbr, po))
        conn.execute("delete from ALERT_TRANSACTION where AlertTransToken = ?", (token,))
        conn.execute("commit")
    print(time.perf_counter() - started)


if __name__ == "__main__":
    main()
