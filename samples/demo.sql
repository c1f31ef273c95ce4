-- Brindle demo database: a small shop.
-- Build it with:  sqlite3 samples/demo.db < samples/demo.sql
-- Rows are generated with recursive CTEs from fixed formulas, so every build
-- gives the same data.

PRAGMA foreign_keys = ON;

BEGIN TRANSACTION;

CREATE TABLE customers (
    id         INTEGER NOT NULL,
    first_name VARCHAR(40) NOT NULL,
    last_name  VARCHAR(40) NOT NULL,
    email      VARCHAR(80) NOT NULL,
    phone      VARCHAR(20),
    city       VARCHAR(40) NOT NULL,
    country    VARCHAR(40) NOT NULL,
    created    DATE NOT NULL,
    CONSTRAINT pk_customers PRIMARY KEY (id)
);

CREATE TABLE products (
    id       INTEGER NOT NULL,
    sku      VARCHAR(12) NOT NULL,
    name     VARCHAR(60) NOT NULL,
    category VARCHAR(30) NOT NULL,
    price    NUMERIC(10,2) NOT NULL,
    in_stock INTEGER NOT NULL DEFAULT 0,
    CONSTRAINT pk_products PRIMARY KEY (id)
);

CREATE TABLE orders (
    id           INTEGER NOT NULL,
    customer_id  INTEGER NOT NULL,
    order_date   DATE NOT NULL,
    status       VARCHAR(12) NOT NULL,
    shipped_date DATE,
    CONSTRAINT pk_orders PRIMARY KEY (id),
    CONSTRAINT fk_orders_customer FOREIGN KEY (customer_id) REFERENCES customers (id)
);

CREATE TABLE order_items (
    order_id   INTEGER NOT NULL,
    line_no    INTEGER NOT NULL,
    product_id INTEGER NOT NULL,
    quantity   INTEGER NOT NULL,
    unit_price NUMERIC(10,2) NOT NULL,
    CONSTRAINT pk_order_items PRIMARY KEY (order_id, line_no),
    CONSTRAINT fk_items_order FOREIGN KEY (order_id) REFERENCES orders (id),
    CONSTRAINT fk_items_product FOREIGN KEY (product_id) REFERENCES products (id)
);

CREATE UNIQUE INDEX idx_products_sku ON products (sku);
CREATE INDEX idx_customers_name ON customers (last_name, first_name);
CREATE INDEX idx_orders_customer ON orders (customer_id);
CREATE INDEX idx_order_items_product ON order_items (product_id);

-- Name pools; temporary, so they do not end up in the database.
CREATE TEMP TABLE first_names (n INTEGER PRIMARY KEY, name TEXT NOT NULL);
INSERT INTO first_names (name) VALUES
    ('Emma'), ('Liam'), ('Olivia'), ('Noah'), ('Ava'), ('Lucas'), ('Mia'), ('Ethan'),
    ('Sophia'), ('Mason'), ('Zoë'), ('José'), ('Chloé'), ('Søren'), ('Björn'), ('Amelia'),
    ('James'), ('Harper'), ('Benjamin'), ('Ella'), ('François'), ('Aiko'), ('Mateo'), ('Grace'),
    ('Daniel'), ('Nora'), ('Henry'), ('Leah'), ('Samuel'), ('Ines'), ('Oliver'), ('Freya'),
    ('Arjun'), ('Hannah'), ('Jack'), ('Lucía'), ('Thomas'), ('Maya'), ('Kenji'), ('Clara');

CREATE TEMP TABLE last_names (n INTEGER PRIMARY KEY, name TEXT NOT NULL);
INSERT INTO last_names (name) VALUES
    ('Smith'), ('Johnson'), ('Williams'), ('Brown'), ('Jones'), ('Garcia'), ('Miller'),
    ('Davis'), ('Martin'), ('Müller'), ('Østergaard'), ('Núñez'), ('Rossi'), ('Dubois'),
    ('Tanaka'), ('Kowalski'), ('Nguyen'), ('Wilson'), ('Anderson'), ('Taylor'), ('Thomas'),
    ('Moore'), ('Jackson'), ('White'), ('Harris'), ('Clark'), ('Lewis'), ('Walker'),
    ('Young'), ('Allen'), ('King'), ('Wright'), ('Scott'), ('Green'), ('Baker'), ('Adams'),
    ('Nelson'), ('Hill'), ('Campbell'), ('Mitchell'), ('Lindqvist'), ('Fischer'), ('Costa'),
    ('Sato'), ('Novak'), ('O''Brien'), ('Schmidt'), ('Lefèvre'), ('Petrov'), ('Silva');

CREATE TEMP TABLE cities (n INTEGER PRIMARY KEY, city TEXT NOT NULL, country TEXT NOT NULL);
INSERT INTO cities (city, country) VALUES
    ('London', 'United Kingdom'), ('Manchester', 'United Kingdom'), ('Leeds', 'United Kingdom'),
    ('New York', 'United States'), ('Chicago', 'United States'), ('Seattle', 'United States'),
    ('Austin', 'United States'), ('Toronto', 'Canada'), ('Montréal', 'Canada'),
    ('Paris', 'France'), ('Lyon', 'France'), ('Berlin', 'Germany'), ('München', 'Germany'),
    ('Zürich', 'Switzerland'), ('Madrid', 'Spain'), ('Milano', 'Italy'), ('Kraków', 'Poland'),
    ('København', 'Denmark'), ('Stockholm', 'Sweden'), ('東京', 'Japan'), ('大阪', 'Japan'),
    ('São Paulo', 'Brazil'), ('Sydney', 'Australia'), ('Dublin', 'Ireland'), ('Amsterdam', 'Netherlands');

CREATE TEMP TABLE adjectives (n INTEGER PRIMARY KEY, word TEXT NOT NULL, factor REAL NOT NULL);
INSERT INTO adjectives (word, factor) VALUES
    ('Classic', 1.00), ('Deluxe', 1.60), ('Compact', 0.85), ('Heavy-Duty', 1.40),
    ('Eco', 1.10), ('Pro', 1.90), ('Mini', 0.60), ('Vintage', 1.30), ('Smart', 2.20),
    ('Travel', 0.90);

CREATE TEMP TABLE items (n INTEGER PRIMARY KEY, word TEXT NOT NULL, category TEXT NOT NULL,
                         base REAL NOT NULL);
INSERT INTO items (word, category, base) VALUES
    ('Coffee Grinder', 'Kitchen', 39.90), ('Kettle', 'Kitchen', 24.50),
    ('Chef''s Knife', 'Kitchen', 45.00), ('Desk Lamp', 'Home Office', 29.99),
    ('Notebook', 'Home Office', 6.49), ('Fountain Pen', 'Home Office', 34.00),
    ('Backpack', 'Outdoor', 59.00), ('Water Bottle', 'Outdoor', 14.95),
    ('Tent', 'Outdoor', 149.00), ('Headphones', 'Electronics', 79.00),
    ('Speaker', 'Electronics', 54.90), ('Phone Charger', 'Electronics', 19.99),
    ('Yoga Mat', 'Sports', 27.50), ('Running Shoes', 'Sports', 89.00),
    ('Tennis Racket', 'Sports', 64.00);

INSERT INTO customers (id, first_name, last_name, email, phone, city, country, created)
WITH RECURSIVE seq(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM seq WHERE i < 2000)
SELECT i,
       f.name,
       l.name,
       lower(f.name) || '.' || lower(replace(l.name, '''', '')) || i || '@example.com',
       CASE WHEN i % 7 = 0 THEN NULL
            ELSE '+1 555 ' || printf('%04d', (i * 7919) % 10000) END,
       c.city,
       c.country,
       date('2021-01-01', '+' || ((i * 37) % 730) || ' days')
FROM seq
JOIN first_names f ON f.n = ((i * 17) % 40) + 1
JOIN last_names l ON l.n = ((i * 31 + i / 40) % 50) + 1
JOIN cities c ON c.n = ((i * 13) % 25) + 1;

INSERT INTO products (id, sku, name, category, price, in_stock)
SELECT (a.n - 1) * 15 + t.n,
       'BR-' || printf('%05d', 10000 + (a.n - 1) * 15 + t.n),
       a.word || ' ' || t.word,
       t.category,
       round(t.base * a.factor, 2),
       ((a.n * 53 + t.n * 29) % 120)
FROM adjectives a CROSS JOIN items t;

-- Customers 1701 to 2000 (and a few others) have never ordered.
INSERT INTO orders (id, customer_id, order_date, status, shipped_date)
WITH RECURSIVE seq(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM seq WHERE i < 3000),
     o(i, d, s) AS (
        SELECT i,
               date('2023-01-01', '+' || ((i * 577) % 700) || ' days'),
               CASE WHEN i % 23 = 0 THEN 'cancelled'
                    WHEN i % 11 = 0 THEN 'pending'
                    WHEN i % 5 = 0 THEN 'shipped'
                    ELSE 'delivered' END
        FROM seq)
SELECT i,
       ((i * 1103 + (i / 5) * (i % 3) * 17) % 1700) + 1,
       d,
       s,
       CASE WHEN s IN ('pending', 'cancelled') THEN NULL
            ELSE date(d, '+' || (1 + i % 6) || ' days') END
FROM o;

INSERT INTO order_items (order_id, line_no, product_id, quantity, unit_price)
WITH RECURSIVE lines(k) AS (SELECT 1 UNION ALL SELECT k + 1 FROM lines WHERE k < 5)
SELECT o.id,
       k,
       p.id,
       1 + ((o.id * 7 + k * 3) % 4) / 3 + ((o.id + k) % 9 = 0) * 4,
       p.price
FROM orders o
JOIN lines ON k <= 1 + (o.id * 13) % 4 + ((o.id % 3 = 0) AND (o.id % 4 = 0))
JOIN products p ON p.id = ((o.id * 31 + k * 97) % 150) + 1;

CREATE VIEW order_totals AS
SELECT o.id AS order_id,
       o.customer_id,
       o.order_date,
       o.status,
       count(i.line_no) AS items,
       sum(i.quantity) AS units,
       round(sum(i.quantity * i.unit_price), 2) AS total
FROM orders o
JOIN order_items i ON i.order_id = o.id
GROUP BY o.id, o.customer_id, o.order_date, o.status;

CREATE VIEW customer_orders AS
SELECT c.id AS customer_id,
       c.first_name || ' ' || c.last_name AS name,
       c.city,
       c.country,
       count(t.order_id) AS orders,
       coalesce(round(sum(t.total), 2), 0) AS total_spent,
       max(t.order_date) AS last_order
FROM customers c
LEFT JOIN order_totals t ON t.customer_id = c.id AND t.status <> 'cancelled'
GROUP BY c.id, c.first_name, c.last_name, c.city, c.country;

COMMIT;
