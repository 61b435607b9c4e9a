// The fixed alert catalogue. Generated from the catalogue tables; edit the
// tables only together with the texts the shop users already receive.
#include "alert/AlertCatalogueTables.h"

const std::array<AlertCategory, AlertCategoryCount> AlertCategoryTable = {{
    {1, 5, 2, "Events", 0x0},       {2, 9, 3, "Material", 0x0},
    {3, 14, 4, "Labor", 0x0},       {4, 18, 0, "Billing", 0x0},
    {5, 0, 6, "Job", 0x1},          {6, 0, 7, "Job Item", 0x2},
    {7, 0, 8, "Work Order", 0x4},   {8, 0, 0, "Product", 0x8},
    {9, 0, 10, "Job", 0x1},         {10, 0, 11, "Job Item", 0x2},
    {11, 0, 12, "Work Order", 0x4}, {12, 0, 13, "PO", 0x10},
    {13, 0, 21, "Inventory", 0x40}, {21, 0, 0, "Quote Request", 0x80},
    {14, 0, 15, "Job", 0x1},        {15, 0, 16, "Job Item", 0x2},
    {16, 0, 17, "Work Order", 0x4}, {17, 0, 0, "Employee", 0x20},
    {18, 0, 0, "Job", 0x1},         {0, 0, 0, "None", 0x0},
}};

const std::array<AlertDefinition, AlertDefinitionCount> AlertDefinitionTable = {{
    {1, 14, 0, "Job percent of labor budget is __% higher than job percent complete.",
     "Job % of labor budget is JOB%BUDGET% which is VAL% higher than percent complete of "
     "JOB%COMPLETE.\nJob: JOBIDDESC."},
    {2, 15, 0, "Job item percent of labor budget is __% higher than job item percent complete.",
     "Job item % of labor budget is JI%BUDGET% which is VAL% higher than percent complete of "
     "JI%COMPLETE.\nJob: JOBIDDESC. Job Item: JINBRDESC."},
    {3, 16, 0, "Work order percent of labor budget is __% higher than work order percent complete.",
     "Work Order WONBR % of labor budget is WO%BUDGET% which is VAL% higher than percent complete "
     "of WO%COMPLETE.\nJob: JOBIDDESC. Job Item: JINBRDESC."},
    {4, 9, 0, "Job material cost is __% of estimated job material cost.",
     "Job material cost is VAL% of estimated material costs.\nJob: JOBIDDESC."},
    {5, 10, 0, "Job item material cost is __% of estimated job item material cost.",
     "Job item material cost is VAL% of estimated material costs.\nJob: JOBIDDESC. Job Item: "
     "JINBRDESC."},
    {6, 11, 0, "Work order material cost is __% of estimated work order material cost.",
     "Work Order WONBR material cost is VAL% of estimated material costs.\nJob: JOBIDDESC. Job "
     "Item: JINBRDESC."},
    {7, 14, 0, "Job labor hours are __% of estimated job labor hours.",
     "Job labor hours are VAL% of estimated labor hours.\nJob: JOBIDDESC."},
    {8, 15, 0, "Job item labor hours are __% of estimated job item labor hours.",
     "Job item labor hours are VAL% of estimated labor hours.\nJob: JOBIDDESC. Job Item: "
     "JINBRDESC."},
    {9, 16, 0, "Work order labor hours are __% of estimated work order labor hours.",
     "Work Order WONBR labor hours are VAL% of estimated labor hours.\nJob: JOBIDDESC. Job Item: "
     "JINBRDESC."},
    {10, 14, 0, "Job labor cost is __% of estimated job labor cost.",
     "Job labor cost is VAL% of estimated labor cost.\nJob: JOBIDDESC."},
    {11, 15, 0, "Job item labor cost is __% of estimated job item labor cost.",
     "Job item labor cost is VAL% of estimated labor cost.\nJob: JOBIDDESC. Job Item: JINBRDESC."},
    {12, 16, 0, "Work order labor cost is __% of estimated work order labor cost.",
     "Work Order WONBR labor cost is VAL% of estimated labor cost.\nJob: JOBIDDESC. Job Item: "
     "JINBRDESC."},
    {13, 7, 1,
     "Work order scheduled start date is __ days away or less but work order status is not __ or "
     "higher.",
     "Work Order WONBR scheduled start date is DAYSAWAY but Work Order status is ARG2.\nJob: "
     "JOBIDDESC. Job Item: JINBRDESC."},
    {14, 7, 1,
     "Work order scheduled finish date is __ days away or less but work order status is not __ or "
     "higher.",
     "Work Order WONBR scheduled finish date is DAYSAWAY but Work Order status is ARG2.\nJob: "
     "JOBIDDESC. Job Item: JINBRDESC."},
    {15, 7, 1,
     "Work order ship date is __ days away or less but work order status is not __ or higher.",
     "Work Order WONBR ship date is DAYSAWAY but Work Order status is ARG2.\nJob: JOBIDDESC. Job "
     "Item: JINBRDESC."},
    {16, 7, 1,
     "Work order scheduled finish date is __ days away or less but work order actual start date is "
     "blank.",
     "Work Order WONBR scheduled finish date is DAYSAWAY but hasn't been started.\nJob: JOBIDDESC. "
     "Job Item: JINBRDESC."},
    {17, 7, 1,
     "Work order scheduled finish date is __ days away or less but work order percent complete is "
     "less than __ percent.",
     "Work Order WONBR scheduled finish date is DAYSAWAY but Work Order % complete is VAL%.\nJob: "
     "JOBIDDESC. Job Item: JINBRDESC."},
    {18, 7, 1,
     "Work order scheduled finish date is __ days away or less but work order percent of labor "
     "budget is less than __ percent.",
     "Work Order WONBR scheduled finish date is DAYSAWAY but Work Order % of labor budget is "
     "VAL%.\nJob: JOBIDDESC. Job Item: JINBRDESC."},
    {19, 7, 1,
     "Work order ship date is __ days away or less but work order percent complete is less than __ "
     "percent.",
     "Work Order WONBR ship date is DAYSAWAY but Work Order % complete is VAL%.\nJob: JOBIDDESC. "
     "Job Item: JINBRDESC."},
    {20, 7, 1,
     "Work order ship date is __ days away or less but work order percent of labor budget is less "
     "than __ percent.",
     "Work Order WONBR ship date is DAYSAWAY but Work Order % of labor budget is VAL%.\nJob: "
     "JOBIDDESC. Job Item: JINBRDESC."},
    {21, 16, 0, "The first time labor is recorded in some department for a particular work order.",
     "First time ARG1 labor reported for Work Order WONBR.\nJob: JOBIDDESC. Job Item: JINBRDESC. "
     "Employee that did work: EMPNAME."},
    {22, 16, 0, "An unplanned operation is recorded against a work order.",
     "Unplanned work performed on Work Order WONBR.\nJob: JOBIDDESC. Job Item: JINBRDESC. Employee "
     "that did work: EMPNAME.\nOperation: ARG2 - ARG3. Department: ARG1."},
    {23, 16, 0, "A work order department’s percent of labor budget is __%.",
     "Work Order WONBR ARG1 percent of labor budget is VAL%.\nJob: JOBIDDESC. Job Item: "
     "JINBRDESC."},
    {24, 8, 0, "The first product on a work order is marked as BUILT.",
     "First product built for Work Order WONBR.\nJob: JOBIDDESC. Job Item: JINBRDESC.\nProduct: "
     "ARG1. Employee: EMPGEN."},
    {25, 8, 0, "__% product quantity built for a product.",
     "VAL% of ARG1 is complete on Work Order WONBR.\nJob: JOBIDDESC. Job Item: "
     "JINBRDESC.\nProduct: ARG1."},
    {26, 5, 0, "Any cost is changed on an archived job.", "CUSTOM"},
    {27, 5, 0, "Job status is changed to __ for a job.",
     "Job status changed to ARG2 from ARG1.\nJob: JOBIDDESC. Changed by: EMPGEN."},
    {29, 5, 0, "A job is deleted.", "Job deleted.\nJob: ARG1 - ARG2. Deleted by: EMPGEN."},
    {30, 5, 0, "A job is archived.", "Job was archived.\nJob: JOBIDDESC. Archived by: EMPGEN."},
    {31, 12, 1, "Open PO has a request by date that is __ days away or less.",
     "Open PO PONBR request by date is DAYSAWAY."},
    {32, 12, 1, "Backordered PO has a request by date that is __ days away or less.",
     "Backordered PO PONBR request by date is DAYSAWAY."},
    {33, 12, 0, "Return to Vendor PO has been initiated (status changed to OPEN).",
     "'Return to Vendor' PO PONBR posted.\nVendor: ARG1. Posted by: EMPGEN."},
    {34, 12, 0, "Reconciled PO has discrepancy between PO Item cost and Vendor item cost.",
     "Reconciled PO PONBR has cost discrepancy.\nVendor: ARG3. PO cost: ARG1. Vendor cost: ARG2. "
     "Reconciled by: EMPGEN."},
    {35, 12, 0, "Reconciled PO has discrepancy between PO freight cost and Vendor freight cost.",
     "Reconciled PO PONBR has freight discrepancy.\nVendor: ARG3. PO freight cost: ARG1. Vendor "
     "freight cost: ARG2. Reconciled by: EMPGEN."},
    {36, 12, 0, "Reconciled PO has discrepancy between PO tax amount and Vendor tax amount.",
     "Reconciled PO PONBR has tax discrepancy.\nVendor: ARG3. PO tax cost: ARG1. Vendor tax cost: "
     "ARG2. Reconciled by: EMPGEN."},
    {37, 9, 0, "A PO has been Opened (ordered) that has material for a particular job",
     "PO opened that has material for job.\nJob: JOBIDDESC. PO PONBR. Opened by: EMPGEN."},
    {38, 9, 0, "A PO has been received for a particular job",
     "PO completely received for job.\nJob: JOBIDDESC. PO PONBR. Received by: EMPGEN. Vendor: "
     "ARG1."},
    {39, 9, 0, "A PO has been backordered for a particular job",
     "PO has backordered item for job.\nJob: JOBIDDESC. PO PONBR. PO Item: ARG3. Back Order Qty: "
     "ARG2. Received by: EMPGEN. Vendor: ARG1."},
    {40, 10, 0, "A PO has been Opened that has material for a particular job item",
     "PO opened that has material for job item.\nJob: JOBIDDESC. Job Item: JINBRDESC. PO PONBR. "
     "Opened by: EMPGEN."},
    {41, 10, 0, "A PO has been received for a particular job item",
     "PO completely received for job item.\nJob: JOBIDDESC. Job Item: JINBRDESC. PO PONBR. "
     "Received by: EMPGEN. Vendor: ARG1."},
    {42, 10, 0, "A PO has been backordered for a particular job item",
     "PO has backordered item for job item.\nJob: JOBIDDESC. Job Item: JINBRDESC. PO PONBR. PO "
     "Item: ARG3. Back Order Qty: ARG2. Received by: EMPGEN. Vendor: ARG1."},
    {43, 11, 0, "A PO has been Opened that has material for a particular work order",
     "PO opened that has material for Work Order WONBR.\nJob: JOBIDDESC. Job Item: JINBRDESC. PO "
     "PONBR. Opened by: EMPGEN."},
    {44, 11, 0, "A PO has been received for a particular work order",
     "PO completely received for Work Order WONBR.\nJob: JOBIDDESC. Job Item: JINBRDESC. PO PONBR. "
     "Received by: EMPGEN. Vendor: ARG1."},
    {45, 11, 0, "A PO has been backordered for a particular work order",
     "PO has backordered item for Work Order WONBR.\nJob: JOBIDDESC. Job Item: JINBRDESC. PO "
     "PONBR. PO Item: ARG3. Back Order Qty: ARG2. Received by: EMPGEN. Vendor: ARG1."},
    {46, 11, 0,
     "A PO has been received for a particular work order and ALL material that was needed has now "
     "been received.",
     "All material received for Work Order WONBR.\nJob: JOBIDDESC. Job Item: JINBRDESC. Last PO "
     "received: PONBR. Received by: EMPGEN. Vendor: ARG1."},
    {48, 12, 0, "A receiver has been created and one or more PO Items has damaged material.",
     "Received damaged items on PO PONBR.\nCUSTOM Received by: EMPGEN."},
    {49, 17, 2, "Daily hours exceed __.",
     "EMPNAME daily hours of ARG1 exceed VAL.\nEdited by: EMPGEN."},
    {50, 17, 2, "Weekly hours exceed __.",
     "EMPNAME weekly hours of ARG1 exceed VAL.\nEdited by: EMPGEN."},
    {51, 17, 2, "An employee time card's hours are changed.",
     "EMPNAME Time & Attendance hours modified.\nCard Date: ARG3. Changed by: EMPGEN."},
    {52, 5, 0, "Product is shipped for a job.",
     "Product shipped for a job.\nJob: JOBIDDESC. Ship Ticket STNBR. Shipped by: EMPGEN."},
    {53, 6, 0, "Product is shipped for a job item.",
     "Product shipped for a job item.\nJob: JOBIDDESC. Job Item: JINBRDESC. Ship Ticket STNBR. "
     "Shipped by: EMPGEN."},
    {54, 7, 0, "Product is shipped for a work order.",
     "Product shipped for work order WONBR.\nJob: JOBIDDESC. Job Item: JINBRDESC.\nShip Ticket "
     "STNBR. Shipped by: EMPGEN."},
    {55, 7, 0, "ALL products are completely shipped for a work order.",
     "All products shipped for work order WONBR.\nJob: JOBIDDESC. Job Item: JINBRDESC.\nShip "
     "Ticket STNBR. Shipped by: EMPGEN."},
    {56, 7, 0,
     "A particular product on a work order is marked as a back order because not all of the order "
     "quantity is being shipped.",
     "Product backordered on shipment for work order WONBR.\nJob: JOBIDDESC. Job Item: "
     "JINBRDESC.\nShip Ticket STNBR. Shipped by: EMPGEN."},
    {57, 7, 0,
     "A particular product on a work order is marked as ‘shipped overage’ because the ship "
     "quantity exceeds Order Quantity.",
     "Product overage on shipment for work order WONBR.\nJob: JOBIDDESC. Job Item: "
     "JINBRDESC.\nShip Ticket STNBR. Shipped by: EMPGEN."},
    {58, 8, 0, "There is a discrepancy between scan count and ship quantity.",
     "Scan qty doesn't match ship qty on Ship Ticket STNBR.\nJob: JOBIDDESC. Job Item: JINBRDESC. "
     "Work Order WONBR.\nProduct: ARG1. Shipping Employee: EMPGEN."},
    {59, 18, 0, "A regular invoice is posted for a job.",
     "Regular invoice ARG3 posted.\nJob: JOBIDDESC. Invoice Amount: ARG1. Job Percent Billed: "
     "ARG2%. Posted by EMPGEN."},
    {61, 8, 0, "All products on a work order are marked as BUILT.",
     "All products are now built for work order WONBR.\nJob: JOBIDDESC. Job Item: JINBRDESC."},
    {62, 18, 0, "A progress billing is posted for a job.",
     "Progress billing PBNBR created.\nJob: JOBIDDESC. Invoice Amount: ARG1. Job Percent Billed: "
     "ARG2%. Created by EMPGEN."},
    {63, 18, 0, "Any ‘posted’ invoice is deleted for a job.",
     "CUSTOM\nJob: JOBIDDESC. Invoice Number: ARG3. Invoice Amount: ARG1. Job Percent Billed: "
     "ARG2%. By EMPGEN."},
    {64, 18, 0, "Current billing amount does not exceed direct and OH cost by __%.",
     "Billings exceed direct and overhead cost by VAL%.\nJob: JOBIDDESC."},
    {65, 13, 0, "Inventory pick has insufficient ‘On Hand’ quantity to cover the pick quantity.",
     "Insufficient inventory to satisfy inventory pick.\nInventory Item: INVCODEDESC. Pick Qty: "
     "ARG1. On Hand: ARG2."},
    {66, 13, 0, "Inventory pick is borrowing from another job's reserved quantity.",
     "Inventory pick borrowed from another job's reserved quantity.\nInventory Item: INVCODEDESC. "
     "Pick Qty: ARG1. Used from on hand: ARG2. Borrowed from reserved: ARG3."},
    {67, 13, 0,
     "Inventory has been received for an inventory item that doesn’t have an ‘auto-receive’ "
     "location.",
     "Inventory item received that doesn't have an auto receive location.\nInventory Item: "
     "INVCODEDESC. PO: PONBR.\nPO Item: PIDESC. Qty Received: ARG1. Received by: EMPGEN."},
    {68, 13, 0, "A new inventory item has been added.",
     "New inventory item added.\nInventory Item: INVCODEDESC. Created by: EMPGEN."},
    {69, 13, 0, "An inventory item has been deleted.",
     "Inventory item deleted.\nInventory Item: ARG1 - ARG2. Deleted by: EMPGEN."},
    {70, 13, 0, "An inventory item location’s quantity has been manually adjusted.",
     "Inventory item location's quantity adjusted.\nInventory Item: INVCODEDESC. Adjusted by: "
     "EMPGEN."},
    {71, 9, 0, "A ‘manual’ reservation has been placed against inventory for a particular job.",
     "Manual reservation placed for job.\nJob: JOBIDDESC. Inventory Item: INVCODEDESC. Qty "
     "reserved: ARG1. Reserved by: EMPGEN."},
    {72, 11, 0,
     "A ‘manual’ reservation has been placed against inventory for a particular work order.",
     "Manual reservation placed for Work Order WONBR.\nJob: JOBIDDESC. Job Item: JINBRDESC. "
     "Inventory Item: INVCODEDESC. Qty reserved: ARG1. Reserved by: EMPGEN."},
    {73, 13, 1, "An inventory item available Qty is at or below its reorder point.",
     "Inventory item available quantity at or below its reorder point.\nInventory Item: "
     "INVCODEDESC. Available Qty: ARG1. Reorder point: ARG2."},
    {74, 7, 0, "A new 'Re-work' work order has been created.",
     "Rework Work Order WONBR created.\nJob: JOBIDDESC. Job Item: JINBRDESC.\nCreated by: EMPGEN."},
    {83, 7, 0, "A new 'Change Order' work order has been created.",
     "Change Order Work Order WONBR created.\nJob: JOBIDDESC. Job Item: JINBRDESC.\nCreated by: "
     "EMPGEN."},
    {75, 7, 0, "A ‘Re-work’ work order is finished.",
     "Rework Work Order WONBR completed.\nJob: JOBIDDESC. Job Item: JINBRDESC.\nCreated by: "
     "EMPGEN."},
    {77, 12, 1, "Open PO has a PO ITEM with a request by date that is __ days away or less.",
     "Open PO PONBR has a PO Item with a request by date that is DAYSAWAY.\nPO Item: ARG2."},
    {78, 12, 1, "BackOrdered PO has a PO ITEM with a request by date that is __ days away or less.",
     "Backordered PO PONBR has a PO Item with a request by date that is DAYSAWAY.\nPO Item: ARG2."},
    {79, 7, 0, "A user changes a work order target finish date.",
     "Work Order WONBR target finish date was changed.\nJob: JOBIDDESC. Job Item: "
     "JINBRDESC.\nChanged by: EMPGEN."},
    {80, 7, 0, "A user changes a work order 'don't schedule before' date",
     "Work Order WONBR 'don't schedule before' date was changed.\nJob: JOBIDDESC. Job Item: "
     "JINBRDESC.\nChanged by: EMPGEN."},
    {81, 5, 1, "An action item's 'need by' date is __ days away or less.",
     "Action Item's 'need by' date is DAYSAWAY.\nJob: JOBIDDESC. Action Item: ARG2."},
    {82, 5, 1, "An RFI's 'required by' date is __ days away or less.",
     "RFI's 'required by' date is DAYSAWAY.\nJob: JOBIDDESC. RFI: ARG2."},
    {84, 7, 0, "Work order status is changed to __.",
     "Work Order WONBR status changed to ARG1 from ARG3.\nJob: JOBIDDESC. Job Item: "
     "JINBRDESC.\nChanged by: EMPGEN."},
    {85, 7, 0, "Work order status is changed from __ to __.",
     "Work Order WONBR status changed to ARG1 from ARG3.\nJob: JOBIDDESC. Job Item: "
     "JINBRDESC.\nChanged by: EMPGEN."},
    {86, 21, 1, "Vendor Quote Request has a request by date that is __ days away or less.",
     "Quote Request's 'request by date' is DAYSAWAY.\nQuote Request: ARG2."},
    {87, 17, 3, "Daily hours under __.", "EMPNAME daily hours of ARG1 are under VAL."},
    {88, 17, 3, "Weekly hours under __.", "EMPNAME weekly hours of ARG1 are under VAL."},
}};
