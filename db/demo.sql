-- Demo data for a fresh shop database made from schema.sql: a small
-- woodworking shop with two live jobs, their work orders and purchase orders,
-- inventory running low, open RFIs, action items and quote requests, a few days
-- of time-clock rows, alert subscriptions and a queue of pending events.
--
-- Due dates are written relative to the day the demo is made, so a batch run
-- on that day (or later: overdue items stay due) has something to report.
-- Every subscription below matches data here: the next batch generates the
-- event alerts (1, 4, 27, 37, 49, 65, 84, 85), and a daily run also the
-- date-driven ones (13, 17, 31, 32, 73, 77, 81, 82, 86, 87).
--
-- Load after the schema: sqlite3 shop.db < schema.sql && sqlite3 shop.db < demo.sql

BEGIN;

-- Alerts on, a run every morning at 6:00 AM, mail to a local test server.
UPDATE DORNWICK_OPTIONS SET
    AlertsGenInd      = 1,
    AlertsProcessHour = 6,
    AlertsProcessMin  = 0,
    AlertsProcessAmPm = 0,
    AlertsEmailType   = 1,
    SMTPserver        = 'localhost',
    SMTPport          = 2525,
    SMTPencryption    = 0,
    SMTPaccount       = 'alerts@example.com',
    SMTPpassword      = 'demo'
WHERE TokenKey = 1;

-- People -------------------------------------------------------------------

INSERT INTO DEPT (DeptNbr, Name, Seq) VALUES
    (1, 'Engineering', 1),
    (2, 'Fabrication', 2),
    (3, 'Assembly',    3),
    (4, 'Finishing',   4),
    (5, 'Shipping',    5),
    (6, 'Office',      6);

INSERT INTO OPCODE (OpCdNbr, OpCode, OpCdDescr, DeptNbr, OpCdCat) VALUES
    (1, 'DRW', 'Shop drawings',  1, 1),
    (2, 'CNC', 'CNC cutting',    2, 1),
    (3, 'EDG', 'Edge banding',   2, 1),
    (4, 'ASM', 'Case assembly',  3, 1),
    (5, 'SPR', 'Spray finish',   4, 1),
    (6, 'SET', 'Machine set-up', 2, 0);

-- 1-5 are office staff who receive alerts; 6-8 work on the floor and clock in.
INSERT INTO EMPLOYEE (EmpNbr, EmpId, Fname, Lname, DeptNbr, EmpCode, UseTimeCard,
                      ProductionEmp, Dornwickuser, HourlyEmployee, AlertEmail) VALUES
    (1, 'MG', 'Maria',  'Garcia',    6, 'PM01',  0, 0, 1, 0, 'maria.garcia@example.com'),
    (2, 'TB', 'Tom',    'Becker',    2, 'SUP01', 1, 0, 1, 0, 'tom.becker@example.com'),
    (3, 'PS', 'Priya',  'Shah',      6, 'BUY01', 0, 0, 1, 0, 'priya.shah@example.com'),
    (4, 'DO', 'Daniel', 'Okafor',    3, 'LEAD01',1, 1, 1, 0, 'daniel.okafor@example.com'),
    (5, 'LN', 'Lena',   'Novak',     6, 'EST01', 0, 0, 1, 0, 'lena.novak@example.com'),
    (6, 'SW', 'Sam',    'Whitfield', 2, 'FAB01', 1, 1, 0, 1, NULL),
    (7, 'RJ', 'Rosa',   'Jimenez',   3, 'ASM01', 1, 1, 0, 1, NULL),
    (8, 'KI', 'Ken',    'Ito',       4, 'FIN01', 1, 1, 0, 1, NULL);

-- ContactNbr ties Maria's logon to the contact that files her RFIs.
INSERT INTO USER_LOGON (USERID, NAME, DORN_USER, DORN_ALERTS, ContactNbr) VALUES
    (1, 'MGARCIA', 1, 1, 501),
    (2, 'TBECKER', 2, 1, NULL),
    (3, 'PSHAH',   3, 1, NULL),
    (4, 'DOKAFOR', 4, 1, NULL),
    (5, 'LNOVAK',  5, 1, NULL),
    (6, 'SWHITFLD',6, 0, NULL);

INSERT INTO CURRENT_USERS (UserId, TimeOn, VElmCount, DOrnCount) VALUES
    (1, strftime('%Y/%m/%d %H:%M:%S', 'now', 'localtime', '-50 minutes'), 0, 1);

INSERT INTO ALERT_USER_DEFAULTS (EmpNbr, HaltAlertGeneration, ForwardToEmpNbr, PurgeAfterNbrOfDays) VALUES
    (1, 0, NULL, 30),
    (2, 0, NULL, 30),
    (3, 0, NULL, 30),
    (4, 0, NULL, 14),
    (5, 0, NULL, 60);

INSERT INTO PAY_ITEM_TYPE (PayItemTypeToken, ShortName, Item) VALUES
    (0, 'REG',  'Regular'),
    (1, 'VAC',  'Vacation'),
    (2, 'SICK', 'Sick'),
    (3, 'HOL',  'Holiday'),
    (4, 'COMP', 'Comp time');

-- Yesterday and today, so the daily-hours check (which looks at yesterday
-- before 15:00 and at today from then on) finds rows either way. Sam's long
-- day yesterday is also the subject of the pending daily-hours event below.
INSERT INTO TIMECLOCK (TimeClockNbr, EmpNbr, WorkDt, TimeOn, TimeOff, TotalTime,
                       RegTime, Ot1Time, Ot2Time, PayItemTypeToken) VALUES
    (1, 6, strftime('%Y/%m/%d', 'now', 'localtime', '-1 day'),
           strftime('%Y/%m/%d', 'now', 'localtime', '-1 day') || ' 06:00:00',
           strftime('%Y/%m/%d', 'now', 'localtime', '-1 day') || ' 16:30:00', 630, 480, 150, 0, 0),
    (2, 7, strftime('%Y/%m/%d', 'now', 'localtime', '-1 day'),
           strftime('%Y/%m/%d', 'now', 'localtime', '-1 day') || ' 07:00:00',
           strftime('%Y/%m/%d', 'now', 'localtime', '-1 day') || ' 12:00:00', 300, 300, 0, 0, 0),
    (3, 8, strftime('%Y/%m/%d', 'now', 'localtime', '-1 day'),
           strftime('%Y/%m/%d', 'now', 'localtime', '-1 day') || ' 07:00:00',
           strftime('%Y/%m/%d', 'now', 'localtime', '-1 day') || ' 14:30:00', 450, 450, 0, 0, 0),
    (4, 6, strftime('%Y/%m/%d', 'now', 'localtime'),
           strftime('%Y/%m/%d', 'now', 'localtime') || ' 06:00:00',
           strftime('%Y/%m/%d', 'now', 'localtime') || ' 15:00:00', 540, 480, 60, 0, 0),
    (5, 7, strftime('%Y/%m/%d', 'now', 'localtime'),
           strftime('%Y/%m/%d', 'now', 'localtime') || ' 07:00:00',
           strftime('%Y/%m/%d', 'now', 'localtime') || ' 12:30:00', 330, 330, 0, 0, 0),
    (6, 8, strftime('%Y/%m/%d', 'now', 'localtime'),
           strftime('%Y/%m/%d', 'now', 'localtime') || ' 07:00:00',
           strftime('%Y/%m/%d', 'now', 'localtime') || ' 15:00:00', 480, 480, 0, 0, 0);

-- Customers, vendors and the shop's own contacts ----------------------------

INSERT INTO COMPANY (COMPANY_NBR, PUB, NAME, PHONE_NBR, STREET_1, CITY, STATE, ZIP_5) VALUES
    (1000, 'MAIN', 'Millbrook Woodworks',       '5550100', '12 Mill Road',      'Millbrook', 'OR', '97001'),
    (1001, 'MAIN', 'Harbor View Hotel',         '5550141', '1 Harbor Drive',    'Seaport',   'OR', '97002'),
    (1002, 'MAIN', 'Lakeside Medical Center',   '5550177', '400 Lake Avenue',   'Lakeside',  'OR', '97003'),
    (1003, 'MAIN', 'Riverside Public Library',  '5550190', '8 River Street',    'Millbrook', 'OR', '97001'),
    (2001, 'MAIN', 'Northwind Hardwoods',       '5550212', '77 Timber Way',     'Portland',  'OR', '97201'),
    (2002, 'MAIN', 'Acme Hardware Supply',      '5550233', '9 Industrial Park', 'Salem',     'OR', '97301'),
    (2003, 'MAIN', 'Stoneline Surfaces',        '5550255', '31 Quarry Road',    'Salem',     'OR', '97302');

INSERT INTO CONTACT (CONTACT_NBR, PUB, LAST_NAME, FIRST_NAME, TITLE, COMPANY_NBR, COMPANY_PUB, PHONE_NBR, EMAIL) VALUES
    (501, 'MAIN', 'Garcia', 'Maria', 'Project manager', 1000, 'MAIN', '5550101', 'maria.garcia@example.com'),
    (601, 'MAIN', 'Lindqvist', 'Erik', 'Interior designer', 1001, 'MAIN', '5550142', 'erik.lindqvist@example.com');

-- Jobs -----------------------------------------------------------------------

INSERT INTO JOB_STATUS (JobStatusNbr, JobStatus) VALUES
    (1, 'Open'),
    (2, 'In Production'),
    (3, 'On Hold');
INSERT INTO JOB_TYPE (JobTypeNbr, JobType) VALUES (1, 'Casework'), (2, 'Millwork');
INSERT INTO WO_TYPE (WorkOrdTypeNbr, WorkOrdType) VALUES (1, 'Standard'), (2, 'Re-work'), (3, 'Change Order');
INSERT INTO SHIPVIA (ShipViaNbr, ShipVia) VALUES (1, 'Company truck'), (2, 'Common carrier');

-- Job 1 has spent 95% of its material estimate and 60% of its labour budget at
-- 40% complete; job 3 is closed and stays out of every check.
INSERT INTO JOBS (JobNbr, JobId, JobDescr, JobStatusNbr, JobTypeNbr, DispNbr, CompanyNbr, CompanyPub,
                  ShipViaNbr, ProjManagerId, PercentBudget, PercentComp,
                  EstMatCost, ActMatCost, ActPoCost, EstLaborHrs, ActLaborHrs, EstSetupHrs, ActSetupHrs,
                  EstLaborCost, ActLaborCost, EstSetupCost, ActSetupCost, OverheadAmt) VALUES
    (1, '24-101', 'Harbor View Hotel lobby',         2, 1, 0, 1001, 'MAIN', 1, 1, 60, 40,
        10000, 6000, 3500, 380, 228, 20, 12, 19000, 11400, 1000, 600, 2400),
    (2, '24-102', 'Lakeside Medical nurse stations', 1, 1, 0, 1002, 'MAIN', 1, 1, 20, 25,
        24000, 4200, 1800, 560, 110, 40, 8, 28000, 5500, 2000, 400, 1300),
    (3, '24-087', 'Riverside library shelving',      0, 2, 0, 1003, 'MAIN', 2, 1, 98, 100,
        8000, 7900, 0, 200, 196, 10, 10, 10000, 9800, 500, 500, 1800);

INSERT INTO JOB_ITEM (JobItemNbr, JobNbr, ItemNbr, JobItemDescr, PercentBudget, PercentComp,
                      EstMatCost, ActMatCost, ActPoCost, EstLaborHrs, ActLaborHrs) VALUES
    (11, 1, 1, 'Reception desk',          55, 35, 6000, 3600, 2100, 240, 132),
    (12, 1, 2, 'Wall paneling',           70, 50, 4000, 2400, 1400, 140,  98),
    (21, 2, 1, 'Nurse station A',         20, 25, 12000, 2100, 900, 280,  55),
    (22, 2, 2, 'Nurse station B',          0,  0, 12000, 0,    0,   280,   0),
    (31, 3, 1, 'Shelving units',          98, 100, 8000, 7900, 0,   200, 196);

-- Work order employee 4 (Daniel) leads them all. 101 starts in three days and
-- is still waiting for material; 102 finishes in five days at 20% complete;
-- 103 is weeks away. EstLaborHrs of 103 is left unknown on purpose.
INSERT INTO WO (WoNbr, JobNbr, JobItemNbr, WoDescr, WorkOrdStatusNbr, WorkOrdTypeNbr, EmpNbr,
                PercentBudget, PercentComp, EstMatCost, ActMatCost, ActPoCost,
                EstLaborHrs, ActLaborHrs, EstLaborCost, ActLaborCost,
                SchedStartDt, SchedFinDt, ShipDt, ActualStartDt, ActualFinDt) VALUES
    (101, 1, 11, 'Reception desk carcass', 2, 1, 4, 0, 0, 3000, 0, 2100, 120, 0, 6000, 0,
        strftime('%Y/%m/%d', 'now', 'localtime', '+3 days'),
        strftime('%Y/%m/%d', 'now', 'localtime', '+12 days'),
        strftime('%Y/%m/%d', 'now', 'localtime', '+20 days'), NULL, NULL),
    (102, 1, 12, 'Wall panel veneer layup', 4, 1, 4, 35, 20, 4000, 2400, 1400, 140, 49, 7000, 2450,
        strftime('%Y/%m/%d', 'now', 'localtime', '-4 days'),
        strftime('%Y/%m/%d', 'now', 'localtime', '+5 days'),
        strftime('%Y/%m/%d', 'now', 'localtime', '+9 days'),
        strftime('%Y/%m/%d', 'now', 'localtime', '-4 days'), NULL),
    (103, 2, 21, 'Nurse station A cabinets', 1, 1, 4, 5, 0, 6000, 0, 900, NULL, 0, 7500, 0,
        strftime('%Y/%m/%d', 'now', 'localtime', '+20 days'),
        strftime('%Y/%m/%d', 'now', 'localtime', '+35 days'),
        strftime('%Y/%m/%d', 'now', 'localtime', '+42 days'), NULL, NULL),
    (104, 3, 31, 'Library shelving units', 6, 1, 4, 98, 100, 8000, 7900, 0, 200, 196, 10000, 9800,
        strftime('%Y/%m/%d', 'now', 'localtime', '-60 days'),
        strftime('%Y/%m/%d', 'now', 'localtime', '-30 days'),
        strftime('%Y/%m/%d', 'now', 'localtime', '-28 days'),
        strftime('%Y/%m/%d', 'now', 'localtime', '-60 days'),
        strftime('%Y/%m/%d', 'now', 'localtime', '-29 days'));

INSERT INTO WO_PRODUCTS (WoProductNbr, WoNbr, ScanQty, MakeQty) VALUES
    (1001, 101, 0, 4),
    (1002, 102, 3, 10),
    (1003, 104, 24, 24);

INSERT INTO DEPT_EST (WoNbr, DeptRef, EstHrs, ActualHrs, PercentComp, PercentBudget, SchedStartDt, SchedFinDt) VALUES
    (102, 2, 60, 30, 40, 50,
        strftime('%Y/%m/%d', 'now', 'localtime', '-4 days'), strftime('%Y/%m/%d', 'now', 'localtime', '+1 day')),
    (102, 3, 80, 19, 10, 24,
        strftime('%Y/%m/%d', 'now', 'localtime', '+1 day'), strftime('%Y/%m/%d', 'now', 'localtime', '+5 days'));

INSERT INTO ACTION_ITEM (ActionItemNbr, JobNbr, Descr, NeedByDt, FinishDt, AssignedTo) VALUES
    (701, 1, 'Confirm hardware finish with the designer',
        strftime('%Y/%m/%d', 'now', 'localtime', '+2 days'), NULL, 1),
    (702, 2, 'Send shop drawings for approval',
        strftime('%Y/%m/%d', 'now', 'localtime', '+10 days'), NULL, 1),
    (703, 1, 'Order veneer samples',
        strftime('%Y/%m/%d', 'now', 'localtime', '-12 days'),
        strftime('%Y/%m/%d', 'now', 'localtime', '-14 days'), 1);

INSERT INTO RFI (RFINbr, RFIDate, DornJobNbr, Descr, CompanyNbr, CompanyPub, ContactNbr, ContactPub,
                 CreatedByNbr, CreatedByPub, Status, RequiredByDt, ReceivedDt, InfoRequested) VALUES
    (801, strftime('%Y/%m/%d', 'now', 'localtime', '-6 days'), 1, 'Reception desk counter height',
        1001, 'MAIN', 601, 'MAIN', 501, 'MAIN', 0,
        strftime('%Y/%m/%d', 'now', 'localtime', '+3 days'), NULL,
        'Drawings show 42in at the counter and 36in at the ADA station; please confirm.'),
    (802, strftime('%Y/%m/%d', 'now', 'localtime', '-2 days'), 2, 'Solid surface colour selection',
        1002, 'MAIN', NULL, NULL, 501, 'MAIN', 0,
        strftime('%Y/%m/%d', 'now', 'localtime', '+15 days'), NULL,
        'Which of the three submitted colours is approved for the nurse stations?');

-- Purchasing -------------------------------------------------------------------

-- 5001 is open and wanted in two days; 5002 is back-ordered and wanted
-- tomorrow; 5003 is open, one item wanted in four days; 5004 is closed.
-- Priya (3) buys them all; Daniel (4) asked for 5001 and 5003, Tom (2) for 5002.
INSERT INTO PURCHASE_ORDER (POnbr, PoStatusNbr, CompanyNbr, CompanyPub, POdt, EmpNbr, ReqByEmpNbr,
                            ReqByDt, ReceivedDt, TotalAmt) VALUES
    (5001, 1, 2001, 'MAIN', strftime('%Y/%m/%d', 'now', 'localtime', '-5 days'), 3, 4,
        strftime('%Y/%m/%d', 'now', 'localtime', '+2 days'), NULL, 2876.00),
    (5002, 2, 2001, 'MAIN', strftime('%Y/%m/%d', 'now', 'localtime', '-9 days'), 3, 2,
        strftime('%Y/%m/%d', 'now', 'localtime', '+1 day'), NULL, 1400.00),
    (5003, 1, 2003, 'MAIN', strftime('%Y/%m/%d', 'now', 'localtime', '-1 day'), 3, 4,
        strftime('%Y/%m/%d', 'now', 'localtime', '+30 days'), NULL, 900.00),
    (5004, 4, 2002, 'MAIN', strftime('%Y/%m/%d', 'now', 'localtime', '-40 days'), 3, 4,
        strftime('%Y/%m/%d', 'now', 'localtime', '-30 days'),
        strftime('%Y/%m/%d', 'now', 'localtime', '-31 days'), 640.00);

INSERT INTO PO_ITEM (PoItemNbr, PoNbr, Seq, Descr, PoDest, UnitPrice, QtyOrdered, InvNbr, ReqByDt) VALUES
    (50011, 5001, 1, 'Maple plywood 3/4in 4x8',        'Job', 68.50, 40, 301, NULL),
    (50012, 5001, 2, 'Edge banding maple 7/8in',        'Job', 19.60, 6,  305, NULL),
    (50021, 5002, 1, 'Rift white oak veneer sheets',    'Job', 140.00, 10, NULL, NULL),
    (50031, 5003, 1, 'Solid surface countertop blanks', 'Job', 450.00, 2, NULL,
        strftime('%Y/%m/%d', 'now', 'localtime', '+4 days')),
    (50041, 5004, 1, 'Concealed hinge 110 deg',         'Reserve', 3.20, 200, 302, NULL);

INSERT INTO PO_ITEM_JOB (PoItemJobNbr, PoItemNbr, JobNbr, JobItemNbr, WoNbr, QtyOrdered, QtyReceived, UnitPrice) VALUES
    (1, 50011, 1, 11, 101, 40, 0, 68.50),
    (2, 50012, 1, 11, 101, 6,  0, 19.60),
    (3, 50021, 1, 12, 102, 10, 0, 140.00),
    (4, 50031, 2, 21, 103, 2,  0, 450.00);

INSERT INTO QUOTE_REQUEST (QuoteNbr, Descr, QuoteStatusNbr, NeedPricesByDt, CreateDt, EmpNbr) VALUES
    (901, 'Quartz countertops for Lakeside', 1,
        strftime('%Y/%m/%d', 'now', 'localtime', '+2 days'),
        strftime('%Y/%m/%d', 'now', 'localtime', '-3 days'), 5),
    (902, 'Brushed brass pulls', 0,
        strftime('%Y/%m/%d', 'now', 'localtime', '+20 days'),
        strftime('%Y/%m/%d', 'now', 'localtime', '-1 day'), 5);

-- Inventory --------------------------------------------------------------------

INSERT INTO INV_TYPE (InvTypeNbr, Type, FinGoodsInd) VALUES
    (1, 'Sheet goods', 0),
    (2, 'Hardware', 0),
    (3, 'Finishing supplies', 0);

-- Available = on order - reserved on order + on hand - reserved on hand:
-- 301 has 8 against a reorder point of 20, 302 has 150 against 200; 303 and
-- 305 are covered; 304 has no reorder point and is never reported.
INSERT INTO INVENTORY_ITEM (InvNbr, Code, Descr, InvTypeNbr, ReorderPoint,
                            QtyOnHand, QtyOnHandReserved, QtyOnOrder, QtyOnOrderReserved) VALUES
    (301, 'PLY-MAP-34', 'Maple plywood 3/4in 4x8',   1, 20,   12,  4, 0,  0),
    (302, 'HNG-110',    'Concealed hinge 110 deg',   2, 200,  150, 0, 0,  0),
    (303, 'SLD-22',     'Drawer slide 22in',         2, 50,   120, 10, 0, 0),
    (304, 'CV-5G',      'Conversion varnish 5 gal',  3, NULL, 2,   0, 0,  0),
    (305, 'EB-MAP-78',  'Edge banding maple 7/8in',  1, 5,    2,   0, 10, 0);

INSERT INTO BUILDING (BuildingNbr, Building, Descr) VALUES (1, 'MAIN', 'Main shop');
INSERT INTO ZONE (ZoneNbr, BuildingNbr, Zone, Descr) VALUES (1, 1, 'A', 'Panel rack');
INSERT INTO BIN (BinNbr, ZoneNbr, Bin, Descr) VALUES (1, 1, '01', 'Rack 1');
INSERT INTO INV_LOC (InvLocNbr, InvNbr, BuildingNbr, ZoneNbr, BinNbr, ReceiveLocInd, QtyOnHand) VALUES
    (1, 301, 1, 1, 1, 1, 12),
    (2, 305, 1, 1, 1, 1, 2);

-- Alert subscriptions ----------------------------------------------------------
-- Source types used: 1 job manager, 2 work-order employee, 3 PO employee,
-- 4 PO requester, 5 manager of a job on the PO, 7 job manager among the ids,
-- 8 work-order employee among the ids, 10 everyone, 11 department among the
-- ids, 13 inventory type among the ids, 14 every job, 17 action item assignee,
-- 18 RFI author, 19 quote requester.
-- Frequencies: 1 daily, 3 hourly, 4 half-hourly, 5 quarter-hourly.

INSERT INTO ALERT_SETTING (AlertSettingNbr, AlertId, EmpNbr, EmailFrequency, Priority, Source) VALUES
    ( 1, 27, 1, 3, 1, 1),   -- Maria: her job goes to "In Production"
    ( 2, 84, 4, 5, 2, 2),   -- Daniel: his work order is released
    ( 3, 85, 1, 1, 0, 14),  -- Maria: any work order from Ready to Released
    ( 4,  4, 2, 4, 2, 7),   -- Tom: material above 90% on Maria's jobs
    ( 5,  1, 1, 1, 1, 14),  -- Maria: labour budget 25% ahead of completion
    ( 6, 49, 2, 3, 1, 11),  -- Tom: over 10 hours a day in Fabrication or Assembly
    ( 7, 65, 5, 5, 2, 13),  -- Lena: picks short of sheet goods
    ( 8, 37, 3, 4, 1, 3),   -- Priya: her PO opened with job material
    ( 9, 37, 1, 1, 0, 5),   -- Maria: a PO opened for one of her jobs
    (10, 13, 4, 1, 2, 2),   -- Daniel: start within 5 days, not yet Released
    (11, 17, 2, 1, 1, 8),   -- Tom: Daniel's finish within 7 days under 50% done
    (12, 31, 3, 1, 1, 3),   -- Priya: her open POs wanted within 7 days
    (13, 32, 1, 1, 2, 5),   -- Maria: back-ordered POs for her jobs within 7 days
    (14, 77, 4, 1, 1, 4),   -- Daniel: PO items he asked for within 7 days
    (15, 73, 5, 1, 1, 13),  -- Lena: sheet goods and hardware at reorder point
    (16, 81, 1, 1, 1, 17),  -- Maria: her action items due within 5 days
    (17, 82, 1, 1, 2, 18),  -- Maria: her RFIs due within 5 days
    (18, 86, 5, 1, 1, 19),  -- Lena: her quote requests due within 5 days
    (19, 87, 2, 1, 0, 10);  -- Tom: anyone under 8 hours a day

INSERT INTO ALERT_SETTING_SOURCE (AlertSettingNbr, EmpNbr, DeptNbr, InvTypeNbr) VALUES
    ( 4, 1,    NULL, NULL),
    ( 6, NULL, 2,    NULL),
    ( 6, NULL, 3,    NULL),
    ( 7, NULL, NULL, 1),
    (11, 4,    NULL, NULL),
    (15, NULL, NULL, 1),
    (15, NULL, NULL, 2);

-- One value group per ALERT_VALUE row; the date checks read the days ahead
-- first and then the status or percentage limit.
INSERT INTO ALERT_VALUE (AlertValueNbr, AlertSettingNbr) VALUES
    (1, 1), (2, 2), (3, 3), (4, 4), (5, 5), (6, 6),
    (7, 10), (8, 11), (9, 12), (10, 13), (11, 14), (12, 16), (13, 17), (14, 18), (15, 19);

INSERT INTO ALERT_SUB_VALUE (AlertValueNbr, Sequence, IntValue, RealValue, StringValue, JobStatusNbr, WoStatusNbr) VALUES
    ( 1, 0, NULL, NULL, NULL, 2,    NULL),  -- job status "In Production"
    ( 2, 0, NULL, NULL, NULL, NULL, 4),     -- work order Released
    ( 3, 0, NULL, NULL, NULL, NULL, 3),     -- from Ready ...
    ( 3, 1, NULL, NULL, NULL, NULL, 4),     -- ... to Released
    ( 4, 0, 90,   NULL, NULL, NULL, NULL),
    ( 5, 0, 25,   NULL, NULL, NULL, NULL),
    ( 6, 0, NULL, 10,   NULL, NULL, NULL),
    ( 7, 0, 5,    NULL, NULL, NULL, NULL),
    ( 7, 1, NULL, NULL, NULL, NULL, 4),
    ( 8, 0, 7,    NULL, NULL, NULL, NULL),
    ( 8, 1, 50,   NULL, NULL, NULL, NULL),
    ( 9, 0, 7,    NULL, NULL, NULL, NULL),
    (10, 0, 7,    NULL, NULL, NULL, NULL),
    (11, 0, 7,    NULL, NULL, NULL, NULL),
    (12, 0, 5,    NULL, NULL, NULL, NULL),
    (13, 0, 5,    NULL, NULL, NULL, NULL),
    (14, 0, 5,    NULL, NULL, NULL, NULL),
    (15, 0, NULL, 8,    NULL, NULL, NULL);

-- Pending events, as the shop product writes them --------------------------------

INSERT INTO ALERT_TRANSACTION (AlertNbr, TransType, EventTimeStamp, EmpNbrGeneratedTrans,
                               JobNbr, JobItemNbr, WoNbr, PoNbr, PoItemNbr, InvNbr, EmpNbr,
                               Tag1, Arg1, Tag2, Arg2, Tag3, Arg3, Tag4, Arg4) VALUES
    -- Tom moved job 24-101 into production.
    (27, 1, strftime('%Y/%m/%d %H:%M:%S', 'now', 'localtime', '-40 minutes'), 2,
        1, NULL, NULL, NULL, NULL, NULL, NULL,
        'OldStatus', 'Open', 'NewStatus', 'In Production', NULL, NULL, NULL, NULL),
    -- Tom released work order 102 (Ready, 3, to Released, 4); the job and job
    -- item come from the work order.
    (84, 1, strftime('%Y/%m/%d %H:%M:%S', 'now', 'localtime', '-35 minutes'), 2,
        NULL, NULL, 102, NULL, NULL, NULL, NULL,
        'NewStatus', 'Released', 'NewStatusNbr', '4', 'OldStatus', 'Ready', 'OldStatusNbr', '3'),
    (85, 1, strftime('%Y/%m/%d %H:%M:%S', 'now', 'localtime', '-35 minutes'), 2,
        NULL, NULL, 102, NULL, NULL, NULL, NULL,
        'NewStatus', 'Released', 'NewStatusNbr', '4', 'OldStatus', 'Ready', 'OldStatusNbr', '3'),
    -- Priya's receipt pushed job 24-101's material cost up.
    (4, 2, strftime('%Y/%m/%d %H:%M:%S', 'now', 'localtime', '-30 minutes'), 3,
        1, NULL, NULL, 5001, NULL, NULL, NULL,
        NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL),
    -- Labour posted against job 24-101.
    (1, 1, strftime('%Y/%m/%d %H:%M:%S', 'now', 'localtime', '-25 minutes'), 6,
        1, NULL, NULL, NULL, NULL, NULL, 6,
        NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL),
    -- Sam's time card for yesterday came to 10.5 hours.
    (49, 1, strftime('%Y/%m/%d %H:%M:%S', 'now', 'localtime', '-20 minutes'), 6,
        NULL, NULL, NULL, NULL, NULL, NULL, 6,
        'Hours', '10.50', NULL, NULL, 'CardDate', strftime('%Y/%m/%d', 'now', 'localtime', '-1 day'), NULL, NULL),
    -- A pick of 16 sheets of maple plywood found 12 on hand.
    (65, 1, strftime('%Y/%m/%d %H:%M:%S', 'now', 'localtime', '-15 minutes'), 6,
        1, NULL, 101, NULL, NULL, 301, NULL,
        'PickQty', '16', 'OnHand', '12', NULL, NULL, NULL, NULL),
    -- Priya opened PO 5003 with countertop blanks for job 24-102.
    (37, 1, strftime('%Y/%m/%d %H:%M:%S', 'now', 'localtime', '-10 minutes'), 3,
        2, NULL, NULL, 5003, NULL, NULL, NULL,
        'Vendor', 'Stoneline Surfaces', NULL, NULL, NULL, NULL, NULL, NULL),
    -- Nobody subscribes to new inventory items: the batch just removes this one.
    (68, 1, strftime('%Y/%m/%d %H:%M:%S', 'now', 'localtime', '-5 minutes'), 5,
        NULL, NULL, NULL, NULL, NULL, 305, NULL,
        NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL);

COMMIT;
